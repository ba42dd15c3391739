#include "listing/ExtensionPatterns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ExtensionPatterns, BuiltFromFilterText) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"*.txt;*.doc", {"TXT", "DOC"}},
      {"*.h*;*.c", {"H??????????", "C"}},
      {"*.*", {"??????????"}},
      {"*.tar.gz", {"TAR.GZ"}},
      {"*.txt;", {"TXT", ""}},
      {"", {}},
      {"mp3;*.ogg", {"MP3", "OGG"}},  // an element without "." is taken whole
      {"*.a*b*", {"A??????????B*"}},  // only the first "*" widens
      {"*.\xC3\xA9t\xC3\xA9", {"\xC3\x89T\xC3\x89"}},
  };
  for (const auto& [filter, expected] : cases) {
    ExtensionPatterns patterns;
    patterns.rebuild(filter);
    EXPECT_EQ(patterns.patternTexts(), expected) << filter;
  }
}

TEST(ExtensionPatterns, MatchesExtensionsThatStartThePattern) {
  struct Case {
    std::string filter, fileName;
    bool kept;
  };
  const Case cases[] = {
      {"*.mp3", "x.MP3", true},
      {"*.mp3", "x.mp", true},
      {"*.mp3", "x.", true},
      {"*.mp3", "x.mp4", false},
      {"*.mp3", "x.mp3x", false},
      {"*.*", "x.abcdefghijk", false},
      {"*.mp?", "song.MP4", true},
      {"README", "README", true},
      {"*.c", "a.b.c", true},
      {"*.b", "a.b.c", false},
      {"*.txt;", "noext.", true},
      {"", "x.", false},
      {"*.\xC3\xA9t\xC3\xA9", "x.\xC3\x89T\xC3\x89", true},
  };
  for (const auto& c : cases) {
    ExtensionPatterns patterns;
    patterns.rebuild(c.filter);
    EXPECT_EQ(patterns.matchesFileName(c.fileName), c.kept) << c.filter << " ~ " << c.fileName;
  }
}

}  // namespace
