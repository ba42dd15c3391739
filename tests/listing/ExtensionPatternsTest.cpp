#include "listing/ExtensionPatterns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvel {

namespace {

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
      {"*.h*", "x.hpp", true},  // the first "*" stands for ten characters
      {"*.h*", "x.h1234567890", true},
      {"*.h*", "x.h12345678901", false},
      {"*.a*b*", "x.a1234567890b", true},  // only the first "*" widens
      {"*.a*b*", "x.a1234567890bc", false},
      {"*.tar.gz", "x.TAR", true},  // the text after the element's first "."
      {"*.tar.gz", "x.gz", false},
      {"mp3;*.ogg", "x.mp3", true},  // an element without "." is taken whole
      {"mp3;*.ogg", "x.ogg", true},
  };
  for (const auto& c : cases) {
    ExtensionPatterns patterns;
    patterns.rebuild(c.filter);
    EXPECT_EQ(patterns.matchesFileName(c.fileName), c.kept) << c.filter << " ~ " << c.fileName;
  }
}

}  // namespace

}  // namespace tarvel
