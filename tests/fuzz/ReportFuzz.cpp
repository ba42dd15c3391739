// A whole report over a tree made up in memory, with options drawn from the input: every line
// ends with CR LF and holds no other control byte, and the footer counts what the tree holds.
#include <memory>

#include "FuzzInput.h"
#include "listing/ExtensionPatterns.h"
#include "listing/ListingRun.h"

namespace {

using namespace tarvel;

struct Node {
  std::string name;
  bool isFolder = false;
  std::uint64_t size = 0;
  std::vector<std::unique_ptr<Node>> children;
};

// The walk's entries from the made-up tree, in no particular order, with sizes.
class MemorySource final : public EntrySource {
 public:
  bool providesSizes() const override { return true; }
  bool keepsItsOrder() const override { return false; }
  void readFolder(const FolderToRead& folder, bool, FolderContents& contents) override {
    for (const auto& child : static_cast<const Node*>(folder.item)->children) {
      if (child->isFolder) {
        contents.addFolder(child->name, true, child.get());
      } else {
        contents.addFile(child->name, child->size);
      }
    }
  }
};

// Each name is a folder or a file by its first byte, and goes below the folder made last or
// climbs back up by its second.
void build(Node& root, const std::vector<std::string>& names) {
  std::vector<Node*> open{&root};
  for (const std::string& text : names) {
    if (text.size() < 3) continue;
    const auto climb = static_cast<std::size_t>(text[1] & 3);
    while (open.size() > 1 && open.size() > climb + 1) open.pop_back();
    auto node = std::make_unique<Node>();
    node->name = text.substr(2);
    node->isFolder = (text[0] & 1) != 0;
    node->size = static_cast<unsigned char>(text[0]) * 1000003ull;
    Node* added = node.get();
    open.back()->children.push_back(std::move(node));
    if (added->isFolder) open.push_back(added);
  }
}

void count(const Node& folder, const ListingOptions& options, const ExtensionPatterns& patterns,
           std::int64_t& files, std::int64_t& folders) {
  for (const auto& child : folder.children) {
    if (!child->isFolder) {
      files += !child->name.empty() &&
               (!options.extensionFilterOn || patterns.matchesFileName(child->name));
      continue;
    }
    ++folders;
    if (options.includeSubfolders) count(*child, options, patterns, files, folders);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const unsigned flags = input.byte() | (input.byte() << 8);
  ListingOptions options;
  bool* switches[] = {&options.includeSubfolders,
                      &options.noFolders,
                      &options.noFiles,
                      &options.extensionFilterOn,
                      &options.includeHeader,
                      &options.includeFooter,
                      &options.removeExtension,
                      &options.capitalizeNames,
                      &options.jukeboxMode,
                      &options.treeStyle,
                      &options.applyPathOptionsToFiles,
                      &options.separatorOn,
                      &options.includeFileSize};
  for (std::size_t i = 0; i < std::size(switches); ++i) *switches[i] = ((flags >> i) & 1) != 0;
  const unsigned choice = input.byte();
  options.pathMode = static_cast<PathMode>(1 + choice % 3);
  options.separatorPlacement = static_cast<SeparatorPlacement>(1 + (choice / 3) % 3);
  static const char* const kSeparators[] = {"%-/", "%", "", "==", "%\xE2\x95\x90"};
  options.separatorText = kSeparators[(choice / 9) % std::size(kSeparators)];
  auto names = input.texts();
  options.extensionFilter = names.front();
  options.includeFooter = true;

  Node root{"Top", true, 0, {}};
  build(root, names);
  MemorySource source;
  options.extractTree = true;
  // One run for every input, as one window runs every listing; its 5 MB buffer is made once.
  static ListingRun run;
  run.setClock([] { return std::time_t{0}; });
  run.run({"Top", "/top", ItemKind::Folder, &root}, options, &source);

  const std::string& report = run.report();
  FUZZ_CHECK(report.size() >= 2 && report.ends_with("\r\n"));
  for (std::size_t i = 0; i < report.size(); ++i) {
    const auto byte = static_cast<unsigned char>(report[i]);
    if (byte == '\r') FUZZ_CHECK(report[i + 1] == '\n');
    if (byte == '\n') FUZZ_CHECK(report[i - 1] == '\r');
    FUZZ_CHECK(byte >= 0x20 || byte == '\r' || byte == '\n');
  }
  ExtensionPatterns patterns;
  patterns.rebuild(options.extensionFilter);
  std::int64_t files = 0;
  std::int64_t folders = 0;
  count(root, options, patterns, files, folders);
  FUZZ_CHECK(run.state().fileCount == files && run.state().folderCount == folders);
  return 0;
}
