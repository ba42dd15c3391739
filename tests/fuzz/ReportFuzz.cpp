// A whole report over a tree made up in memory, with options drawn from the input: every line
// ends with CR LF and holds no other control byte, and the footer counts what the tree holds.

#include "FuzzInput.h"
#include "listing/ExtensionPatterns.h"
#include "listing/ListingRun.h"
#include "tests/support/MemoryTree.h"
#include "tests/support/OptionSwitches.h"

namespace {

using namespace tarvel;

// Each name is a folder or a file by its first byte, and goes below the folder made last or
// climbs back up by its second.
void build(MemoryNode& root, const std::vector<std::string>& names) {
  std::vector<MemoryNode*> open{&root};
  for (const std::string& text : names) {
    if (text.size() < 3) continue;
    const auto climb = static_cast<std::size_t>(text[1] & 3);
    while (open.size() > 1 && open.size() > climb + 1) open.pop_back();
    const bool isFolder = (text[0] & 1) != 0;
    MemoryNode* added = open.back()->add(text.substr(2), isFolder,
                                         static_cast<unsigned char>(text[0]) * 1000003ull);
    if (isFolder) open.push_back(added);
  }
}

void count(const MemoryNode& folder, const ListingOptions& options,
           const ExtensionPatterns& patterns, std::int64_t& files, std::int64_t& folders) {
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
  for (std::size_t i = 0; i < std::size(kOptionSwitches); ++i)
    options.*kOptionSwitches[i].second = ((flags >> i) & 1) != 0;
  const unsigned choice = input.byte();
  options.pathMode = static_cast<PathMode>(1 + choice % 3);
  options.separatorPlacement = static_cast<SeparatorPlacement>(1 + (choice / 3) % 3);
  static const char* const kSeparators[] = {"%-/", "%", "", "==", "%\xE2\x95\x90"};
  options.separatorText = kSeparators[(choice / 9) % std::size(kSeparators)];
  auto names = input.texts();
  options.extensionFilter = names.front();
  options.includeFooter = true;

  MemoryNode root{"Top", true, 0, {}};
  build(root, names);
  MemorySource source(false);
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
