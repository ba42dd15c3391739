#include "listing/ExtensionPatterns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ExtensionPatterns, BuiltFromFilterText) {
  struct Case {
    std::string filter;
    std::vector<std::string> patterns;
  };
  const Case cases[] = {
      {"*.txt;*.doc", {"TXT", "DOC"}},
      {"*.mp*", {"MP??????????"}},
      {"*.h*;*.c", {"H??????????", "C"}},
      {"*.*", {"??????????"}},
      {"txt", {"TXT"}},
      {"*.tar.gz", {"TAR.GZ"}},
      {"*.txt;", {"TXT", ""}},
      {"", {}},
      {"mp3;*.ogg", {"MP3", "OGG"}},  // an element without "." is taken whole, wherever it is
      {"*.a*b*", {"A??????????B*"}},  // only the first "*" widens
      {" *.txt", {"TXT"}},
      {"*.\xC3\xA9t\xC3\xA9", {"\xC3\x89T\xC3\x89"}},  // upper-cased beyond ASCII too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    ExtensionPatterns patterns;
    patterns.rebuild(c.filter);
    EXPECT_EQ(patterns.patternTexts(), c.patterns);
  }
}

TEST(ExtensionPatterns, MatchesExtensionsThatStartThePattern) {
  struct Case {
    std::string filter;
    std::string fileName;
    bool kept;
  };
  const Case cases[] = {
      {"*.mp3", "x.mp3", true},
      {"*.mp3", "x.MP3", true},
      {"*.mp3", "x.mp", true},
      {"*.mp3", "x.", true},
      {"*.mp3", "x.mp4", false},
      {"*.mp3", "x.mp3x", false},
      {"*.*", "x.abcdefghij", true},
      {"*.*", "x.abcdefghijk", false},
      {"*.mp?", "song.MP4", true},
      {"*.txt", "README", false},
      {"README", "README", true},  // a name without "." is its own extension
      {"*.c", "a.b.c", true},
      {"*.b", "a.b.c", false},
      {"*.profile", ".profile", true},
      {"*.txt;", "anything.doc", false},
      {"*.txt;", "noext.", true},  // the empty extension matches even the empty pattern
      {"*.\xC3\xA9t\xC3\xA9", "x.\xC3\x89T\xC3\x89", true},
      {"*.m\xC3\xA9", "x.m\xC3\xA8", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter + " ~ " + c.fileName);
    ExtensionPatterns patterns;
    patterns.rebuild(c.filter);
    EXPECT_EQ(patterns.matchesFileName(c.fileName), c.kept);
  }
  ExtensionPatterns none;
  none.rebuild("");
  EXPECT_FALSE(none.matchesFileName("x."));
}

}  // namespace
