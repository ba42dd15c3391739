// Whole reports against expected ones kept as files: each case is a command line run in-process
// through the command-line parser and the listing, over a small tree built for its file.
//
// A file in tests/cli/golden holds one tree and its cases:
//   === tree            then one entry a line: "dir/", "file", "file = SIZE" (a SIZE of a MiB or
//                       more is sparse), "link -> target"; \n \t \r \\ \xHH escape bytes
//   === case ARGS...    the command line (the same escapes; \x20 for a space, "" for an empty
//                       argument), run in the tree; then the expected report or size line (or
//                       the message of a PATH that names nothing), LF for CR LF, "{root}" for
//                       the tree's path; a JSON or CSV document (--format) one row a line,
//                       other control bytes as \xHH, every entry modified at the header's
//                       instant
//   === parse ARGS...   then what the parser makes of the command line: the action, PATH and the
//                       fields that differ from the start-up values, or its message
// TARVEL_UPDATE_GOLDEN=1 writes what the program gives back into the files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/StructuredListing.h"
#include "listing/FolderSize.h"
#include "listing/ListingRun.h"
#include "listing/PathArgument.h"
#include "platform/PathRules.h"
#include "tests/support/CommandWords.h"
#include "tests/support/OptionSwitches.h"
#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

constexpr std::time_t kHeaderInstant = 1772701623;  // Thu Mar 05 09:07:03 2026 UTC

// What the parser makes of `arguments`, as a line.
std::string parsed(const std::vector<std::string>& arguments) {
  const ParsedCommandLine result =
      parseCommandLine(std::vector<std::string_view>(arguments.begin(), arguments.end()));
  if (!result.ok) return "error: " + result.error + "\n";
  const CommandLine& command = result.command;
  const ListingOptions& o = command.options;
  const ListingOptions start;
  static const char* const kActions[] = {"list", "folder-size", "help", "version"};
  std::ostringstream out;
  out << kActions[static_cast<int>(command.action)] << " [" << command.path << "]";
  if (command.outputFile) out << " output=[" << *command.outputFile << "]";
  for (const auto& [name, field] : kOptionSwitches)
    if (o.*field != start.*field) out << " " << name << "=" << o.*field;
  if (o.extensionFilter != start.extensionFilter) out << " filter=[" << o.extensionFilter << "]";
  if (o.separatorText != start.separatorText) out << " separator=[" << o.separatorText << "]";
  if (o.separatorPlacement != start.separatorPlacement)
    out << " placement=" << static_cast<int>(o.separatorPlacement);
  if (o.pathMode != start.pathMode) out << " pathMode=" << static_cast<int>(o.pathMode);
  if (command.format != CommandLine::Format::Text)
    out << " format=" << static_cast<int>(command.format);
  return out.str() + "\n";
}

void addEntry(TestTree& tree, std::string_view line) {
  constexpr std::uint64_t kSparseFrom = 1 << 20;
  if (const auto arrow = line.find(" -> "); arrow != std::string_view::npos) {
    tree.createSymlink(unescape(line.substr(0, arrow)), unescape(line.substr(arrow + 4)));
  } else if (line.ends_with('/')) {
    tree.createDir(unescape(line));
  } else if (const auto equals = line.find(" = "); equals != std::string_view::npos) {
    const std::uint64_t size = std::stoull(std::string(line.substr(equals + 3)));
    const std::string path = unescape(line.substr(0, equals));
    if (size >= kSparseFrom) tree.createSparseFile(path, size);
    if (size < kSparseFrom) tree.createFile(path, std::string(size, 'x'));
  } else {
    tree.createFile(unescape(line));
  }
}

// Every entry's modification time set to one instant, for documents that show it.
void fixTimes(const TestTree& tree) {
  const timespec times[2] = {{kHeaderInstant, 0}, {kHeaderInstant, 0}};
  for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.root()))
    ::utimensat(AT_FDCWD, entry.path().c_str(), times, AT_SYMLINK_NOFOLLOW);
  ::utimensat(AT_FDCWD, tree.root().c_str(), times, 0);
}

class StringOutput final : public ReportOutput {
 public:
  void write(std::string_view piece) override { text.append(piece); }
  std::string text;
};

// "{root}" for the tree's path; capitalised lines show it in lower case.
std::string withRoot(const std::string& text, const TestTree& tree) {
  const std::string root =
      std::regex_replace(tree.root(), std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
  return std::regex_replace(text, std::regex(root, std::regex::icase), "{root}");
}

// A JSON or CSV document one row a line (LF for a CSV row's CR LF), any other control byte as
// \xHH: a line break inside a CSV field shows as such.
std::string shownDocument(std::string_view text, CommandLine::Format format) {
  const std::string_view rowEnd = format == CommandLine::Format::Csv ? "\r\n" : "\n";
  std::string shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (text.substr(i).starts_with(rowEnd)) {
      shown += '\n';
      i += rowEnd.size() - 1;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

// The report the command line gives for `arguments`, LF for CR LF and "{root}" for the tree.
// One run serves every case of a file, as one window serves every listing: what a run leaves
// behind must not show in the next.
std::string report(ListingRun& run, const TestTree& tree,
                   const std::vector<std::string>& arguments) {
  const std::vector<std::string_view> views(arguments.begin(), arguments.end());
  const ParsedCommandLine parsed = parseCommandLine(views);
  if (!parsed.ok) return "error: " + parsed.error + "\n";
  const PathArgument argument = resolvePathArgument(parsed.command.path);
  const SelectedItem& selected = argument.item;
  std::string text = "error: " + argument.error + "\r\n";
  if (argument.ok && parsed.command.action == CommandLine::Action::FolderSize) {
    const bool isFile = selected.kind == ItemKind::File;
    text = sizeLine(sumFolderSize(selected.path, isFile, parsed.command.options.includeSubfolders,
                                  {}, nullptr, selected.reach)) +
           "\r\n";
  } else if (argument.ok && parsed.command.format != CommandLine::Format::Text) {
    StringOutput document;
    walkInto(parsed.command, selected, nullptr, document);
    return withRoot(shownDocument(document.text, parsed.command.format), tree);
  } else if (argument.ok) {
    run.run(selected, parsed.command.options);
    text = run.report();
  }
  // Every line must end with CR LF, and only there (a report holds no byte 1).
  std::string shown = std::regex_replace(text, std::regex("\r\n"), "\x01");
  shown = std::regex_replace(shown, std::regex("[\r\n]"), "<bare line break>");
  std::replace(shown.begin(), shown.end(), '\x01', '\n');
  return withRoot(shown, tree);
}

class GoldenReports : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenReports, MatchTheExpectedBytes) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  const std::string file = GetParam();
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_FALSE(lines.empty()) << file;

  TestTree tree;
  // PATH is found from the tree, as the program finds it from its working folder.
  // and the working folder goes back even when an assertion ends the test early.
  const std::shared_ptr<void> back(nullptr, [saved = std::filesystem::current_path()](void*) {
    std::error_code ignored;  // the folder was there at the start
    std::filesystem::current_path(saved, ignored);
  });
  std::filesystem::current_path(tree.root());
  ListingRun run;
  run.setClock([] { return kHeaderInstant; });
  std::string rewritten;
  for (std::size_t i = 0; i < lines.size();) {
    const std::string& directive = lines[i++];
    rewritten += directive + "\n";
    std::string body;
    for (; i < lines.size() && !lines[i].starts_with("=== "); ++i) body += lines[i] + "\n";
    if (directive == "=== tree") {
      std::istringstream entries(body);
      for (std::string entry; std::getline(entries, entry);) addEntry(tree, entry);
      fixTimes(tree);
      rewritten += body;
    } else {
      const bool parse = directive.starts_with("=== parse");
      ASSERT_TRUE(parse || directive.starts_with("=== case")) << file << ": " << directive;
      const auto arguments = words(directive.substr(9));
      const std::string actual = parse ? parsed(arguments) : report(run, tree, arguments);
      EXPECT_EQ(actual, body) << file << ": " << directive;
      rewritten += actual;
    }
  }
  if (std::getenv("TARVEL_UPDATE_GOLDEN") != nullptr) std::ofstream(file) << rewritten;
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenReports,
                         ::testing::ValuesIn(filesIn(TARVEL_GOLDEN_DIR, {".golden"})),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return std::regex_replace(
                               std::filesystem::path(param.param).stem().string(),
                               std::regex("[^A-Za-z0-9]"), "_");
                         });

}  // namespace

}  // namespace tarvel
