// Every example of the help book and the manual pages, run through the command-line program:
// a change of behaviour or of a page cannot leave the two apart.
//
// An example is found by its command line, "$ tarvelinquistombrel-cli ARGS" (a line ending with
// "\" goes on on the next), either in the example's block itself (a <pre> or a ``` block) or in
// a comment right before it (<!-- $ ... --> or "; $ ..."), where the page shows no command. What
// follows the command in its block, or the block right after it, is what it prints: every line
// ended by CR LF (by LF for --folder-size), nothing on standard error, status 0. "$ export
// NAME=VALUE" sets the environment of the commands after it.
//
// The folder the examples list is the block after a comment "exemple-arbre": one entry a line,
// four columns deeper per level, "name/" for a folder, "name  SIZE octets" for a file. It lies
// in /home/marie, the working folder of the commands ("~" too).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/ProcessRunner.h"
#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

constexpr std::string_view kProgram = "tarvelinquistombrel-cli";
constexpr std::string_view kHome = "/home/marie";

// A comment or a block of literal text, and whether only blank space comes before it since the
// block before.
struct Block {
  bool literal = false;
  std::string text;
  bool followsClosely = false;
};

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Literal text as a reader sees it: in HTML, tags left out and entities made characters; in
// scdoc, "\" escapes the character after it.
std::string shownText(const std::string& text, bool scdoc) {
  if (scdoc) return std::regex_replace(text, std::regex(R"(\\(.))"), "$1");
  std::string shown = std::regex_replace(text, std::regex("<[^>]*>"), "");
  for (const auto& [entity, character] :
       {std::pair{"&nbsp;", "\u00a0"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
    shown = replaceAll(shown, entity, character);
  return shown;
}

// The comments and literal blocks of a page: <!-- --> and <pre>, or scdoc's "; " lines and
// ``` blocks.
std::vector<Block> blocksOf(const std::string& page, bool scdoc) {
  static const std::regex html(R"(<!--\s*([\s\S]*?)\s*-->|<pre[^>]*>([\s\S]*?)</pre>)");
  static const std::regex scd(R"(\n; ([^\n]*)|\n```\n([\s\S]*?)\n```)");
  std::vector<Block> blocks;
  std::size_t end = 0;
  for (std::sregex_iterator it(page.begin(), page.end(), scdoc ? scd : html), last; it != last;
       ++it) {
    const bool literal = (*it)[2].matched;
    const bool blank =
        page.substr(end, it->position() - end).find_first_not_of(" \t\n") == std::string::npos;
    blocks.push_back({literal, literal ? shownText((*it)[2], scdoc) : (*it)[1].str(), blank});
    end = it->position() + it->length();
  }
  return blocks;
}

// The words of a command line as a shell splits them: '' quotes, and "~" for /home/marie.
std::vector<std::string> shellWords(std::string_view line) {
  std::vector<std::string> words;
  bool inWord = false;
  bool quoted = false;
  for (const char c : line) {
    if (!inWord && c != ' ') words.emplace_back();
    inWord = quoted || c != ' ';
    if (c == '\'') quoted = !quoted;
    if (c != '\'' && inWord) words.back() += c;
  }
  for (std::string& word : words)
    if (word.starts_with("~/")) word.replace(0, 1, kHome);
  return words;
}

// The example folder, from its description, in `home`.
void build(TestTree& tree, const std::string& home, const std::string& description) {
  static const std::regex folderLine(R"(\s*(.*?)/.*)"), fileLine(R"(\s*(.*?)  +(\d+) octets)");
  std::vector<std::string> names;
  std::istringstream lines(description);
  for (std::string line; std::getline(lines, line);) {
    names.resize(line.find_first_not_of(' ') / 4);
    std::smatch entry;
    const bool isFolder = std::regex_match(line, entry, folderLine);
    ASSERT_TRUE(isFolder || std::regex_match(line, entry, fileLine)) << line;
    names.push_back(entry[1]);
    std::string path = home;
    for (const std::string& name : names) path += "/" + name;
    if (isFolder) tree.createDir(path);
    if (!isFolder) tree.createFile(path, std::string(std::stoul(entry[2]), 'x'));
  }
}

struct Example {
  std::string where;
  std::vector<std::string> environment;
  std::string command;
  std::string output;
};

// The examples of `blocks`; the example folder's description goes to `folder`.
std::vector<Example> examplesIn(const std::string& where, const std::vector<Block>& blocks,
                                std::string& folder) {
  std::vector<Example> examples;
  std::vector<std::string> environment{"SOURCE_DATE_EPOCH=1772701623", "TZ=UTC"};
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const bool nextIsLiteral =
        i + 1 < blocks.size() && blocks[i + 1].literal && blocks[i + 1].followsClosely;
    if (!blocks[i].literal && blocks[i].text == "exemple-arbre" && nextIsLiteral) {
      // One folder for every document: a reader moves between them.
      EXPECT_TRUE(folder.empty() || folder == blocks[i + 1].text) << where;
      folder = blocks[++i].text;
      continue;
    }
    if (!blocks[i].text.starts_with("$ ")) continue;
    std::string session = blocks[i].text;
    if (nextIsLiteral && !blocks[i + 1].text.starts_with("$ ")) session += "\n" + blocks[++i].text;
    std::istringstream lines(session);
    for (std::string line; std::getline(lines, line);) {
      for (std::string more;
           line.starts_with("$ ") && line.ends_with('\\') && std::getline(lines, more);)
        line.back() = ' ', line += more;
      if (line.starts_with("$ export ")) {
        const auto words = shellWords(line.substr(9));
        environment.insert(environment.end(), words.begin(), words.end());
      } else if (line.starts_with("$ ")) {
        examples.push_back({where, environment, line.substr(2), ""});
      } else if (!examples.empty()) {
        examples.back().output += line + "\n";
      }
    }
  }
  return examples;
}

TEST(DocumentExamples, EveryExampleIsWhatTheProgramPrints) {
  std::string folder;
  std::vector<Example> examples;
  for (const char* pages : {"/docs/man", "/resources/help"}) {
    for (const std::string& file :
         filesIn(TARVEL_SOURCE_DIR + std::string(pages), {".html", ".scd"})) {
      const auto found = examplesIn(std::filesystem::path(file).filename(),
                                    blocksOf(readWholeFile(file), file.ends_with(".scd")), folder);
      examples.insert(examples.end(), found.begin(), found.end());
    }
  }
  ASSERT_FALSE(folder.empty()) << "no block follows a comment \"exemple-arbre\"";
  EXPECT_GE(examples.size(), 30u);  // a page whose examples are no longer found fails here

  TestTree tree;
  build(tree, std::string(kHome.substr(1)), folder);
  const std::string home = tree.path(kHome.substr(1));
  std::string homeInLowerCase = home;  // as capitalised lines show it
  std::transform(home.begin(), home.end(), homeInLowerCase.begin(), ::tolower);
  for (const Example& example : examples) {
    std::vector<std::string> words = shellWords(example.command);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words[0], kProgram) << example.where << ": " << example.command;
    words.erase(words.begin());
    for (std::string& word : words) word = replaceAll(word, kHome, home);
    const ProcessResult result =
        runCli(words, {.environment = example.environment, .workingFolder = home});
    const bool sizeLine = std::find(words.begin(), words.end(), "--folder-size") != words.end();
    const std::string expected =
        sizeLine ? example.output : replaceAll(example.output, "\n", "\r\n");
    const std::string actual =
        replaceAll(replaceAll(result.out, home, kHome), homeInLowerCase, kHome);
    EXPECT_EQ((ProcessResult{result.exitCode, actual, result.err}),
              (ProcessResult{0, expected, ""}))
        << example.where << ": " << example.command;
  }
}

}  // namespace

}  // namespace tarvel
