#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "platform/PathRules.h"
#include "platform/TextRules.h"

namespace tarvel {

namespace {

TEST(TextRules, DisplayWidthCountsColumns) {
  const std::pair<const char*, int> cases[] = {
      {"abc", 3}, {"日本語", 6}, {"e\u0301", 1}, {"\xff\xfe", 2}, {"中a\u0300b", 4}};
  for (const auto& [source, width] : cases) EXPECT_EQ(displayWidth(source), width) << source;
}

TEST(PathRules, NormalizeLexicallyAndTreatTheRootAsEmpty) {
  // path, current folder, normalised path
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"a/../b", "/w/x", "/w/x/b"}, {"//x//", "/w", "/x"}, {".", "/w/x", "/w/x"},
      {"..", "/w/x", "/w"},         {"/", "/w", ""},       {"../../..", "/w", ""},
      {"/a/./b/.", "/w", "/a/b"},   {"a", "", "/a"},       {"/../x", "/w", "/x"},
      {"a*b/?", "/w", "/w/a*b/?"}};
  for (const auto& [path, current, expected] : cases) {
    EXPECT_EQ(normalizeAbsolute(path, current), expected) << path << " in " << current;
  }
  EXPECT_EQ(joinPath("", "etc"), "/etc");
}

}  // namespace

}  // namespace tarvel
