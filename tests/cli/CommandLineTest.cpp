#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace tarvel {

namespace {

using Action = CommandLine::Action;

// Every switch, value and mistake of the command line: what it sets, or the message it earns.
TEST(CommandLine, EachArgumentSetsItsFieldOrIsRefused) {
  struct Case {
    const char* arguments;
    std::function<void(CommandLine&)> expected;  // applied to a default command for "x"
    const char* error = nullptr;                 // part of the message, when refused
  };
  const auto set = [](auto change) { return std::function<void(CommandLine&)>(change); };
  const Case cases[] = {
      {"x", set([](CommandLine&) {})},
      {"--no-subfolders x", set([](CommandLine& c) { c.options.includeSubfolders = false; })},
      {"--no-folders x", set([](CommandLine& c) { c.options.noFolders = true; })},
      {"--no-files x", set([](CommandLine& c) { c.options.noFiles = true; })},
      {"--extensions=*.mp3;*.ogg x", set([](CommandLine& c) {
         c.options.extensionFilterOn = true;
         c.options.extensionFilter = "*.mp3;*.ogg";
       })},
      {"--extensions= x", set([](CommandLine& c) { c.options.extensionFilterOn = true; })},
      {"--header x", set([](CommandLine& c) { c.options.includeHeader = true; })},
      {"--footer x", set([](CommandLine& c) { c.options.includeFooter = true; })},
      {"--remove-extension x", set([](CommandLine& c) { c.options.removeExtension = true; })},
      {"--no-capitalize x", set([](CommandLine& c) { c.options.capitalizeNames = false; })},
      {"--jukebox x", set([](CommandLine& c) { c.options.jukeboxMode = true; })},
      {"--no-tree x", set([](CommandLine& c) { c.options.treeStyle = false; })},
      {"--apply-path-to-files x",
       set([](CommandLine& c) { c.options.applyPathOptionsToFiles = true; })},
      {"--no-separator x", set([](CommandLine& c) { c.options.separatorOn = false; })},
      {"--separator==/= x", set([](CommandLine& c) { c.options.separatorText = "=/="; })},
      {"--separator= x", set([](CommandLine& c) { c.options.separatorText = ""; })},
      {"--separator-after=name x", set([](CommandLine& c) {
         c.options.separatorPlacement = SeparatorPlacement::AfterDirectoryName;
       })},
      {"--separator-after=all x", set([](CommandLine& c) {
         c.options.separatorPlacement = SeparatorPlacement::AfterAllDirectories;
       })},
      {"--separator-after=name --separator-after=non-empty x", set([](CommandLine& c) {
         c.options.separatorPlacement = SeparatorPlacement::AfterNonEmptyDirectory;
       })},
      {"--path=relative x",
       set([](CommandLine& c) { c.options.pathMode = PathMode::RelativePath; })},
      {"--path=absolute x",
       set([](CommandLine& c) { c.options.pathMode = PathMode::AbsolutePath; })},
      {"--path=absolute --path=none x",
       set([](CommandLine& c) { c.options.pathMode = PathMode::NoPath; })},
      {"--sizes x", set([](CommandLine& c) { c.options.includeFileSize = true; })},
      {"-o out x", set([](CommandLine& c) { c.outputFile = "out"; })},
      {"-oout x", set([](CommandLine& c) { c.outputFile = "out"; })},
      {"--output=out x", set([](CommandLine& c) { c.outputFile = "out"; })},
      {"-- --header", set([](CommandLine& c) { c.path = "--header"; })},
      {"- ", set([](CommandLine& c) { c.path = "-"; })},
      {"--folder-size x", set([](CommandLine& c) { c.action = Action::FolderSize; })},
      {"--folder-size --no-subfolders x", set([](CommandLine& c) {
         c.action = Action::FolderSize;
         c.options.includeSubfolders = false;
       })},
      {"--help", set([](CommandLine& c) {
         c.action = Action::Help;
         c.path.clear();
       })},
      {"-h --bogus-after-help-is-still-refused", nullptr, "option inconnue"},
      {"--version", set([](CommandLine& c) {
         c.action = Action::Version;
         c.path.clear();
       })},
      {"--bogus x", nullptr, "option inconnue « --bogus »"},
      {"-x x", nullptr, "option inconnue « -x »"},
      {"--header=1 x", nullptr, "l'option « --header » ne prend pas de valeur"},
      {"--path x", nullptr, "l'option « --path » demande une valeur"},
      {"--path=sideways x", nullptr, "valeur non valide « sideways » pour « --path »"},
      {"--separator-after=never x", nullptr, "valeur non valide « never »"},
      {"--output= x", nullptr, "demande un nom de fichier"},
      {"x -o", nullptr, "l'option « -o » demande un nom de fichier"},
      {"", nullptr, "aucun chemin indiqué"},
      {"x y", nullptr, "un seul chemin est attendu, 2 ont été donnés"},
      {"--folder-size --header x", nullptr, "« --header » ne s'emploie pas avec « --folder-size »"},
      {"--folder-size -o out x", nullptr, "« -o » ne s'emploie pas avec « --folder-size »"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words;
    std::istringstream in(c.arguments);
    for (std::string word; in >> word;) words.push_back(word);
    if (std::string(c.arguments).ends_with("- ")) words = {"-"};
    const std::vector<std::string_view> arguments(words.begin(), words.end());
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (c.error != nullptr) {
      EXPECT_FALSE(parsed.ok) << c.arguments;
      EXPECT_NE(parsed.error.find(c.error), std::string::npos)
          << c.arguments << ": " << parsed.error;
      continue;
    }
    CommandLine expected;
    expected.path = "x";
    c.expected(expected);
    EXPECT_TRUE(parsed.ok) << c.arguments << ": " << parsed.error;
    EXPECT_EQ(parsed.command.action, expected.action) << c.arguments;
    EXPECT_EQ(parsed.command.options, expected.options) << c.arguments;
    EXPECT_EQ(parsed.command.path, expected.path) << c.arguments;
    EXPECT_EQ(parsed.command.outputFile, expected.outputFile) << c.arguments;
  }
}

}  // namespace

}  // namespace tarvel
