#include <gtest/gtest.h>

#include <tuple>

#include "platform/PathRules.h"

namespace tarvel {

namespace {

TEST(PathRules, NormalizeLexicallyAndTreatTheRootAsEmpty) {
  // path, current folder, normalised path
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"a/../b", "/w/x", "/w/x/b"}, {"//x//", "/w", "/x"}, {".", "/w/x", "/w/x"},
      {"..", "/w/x", "/w"},         {"/", "/w", ""},       {"../../..", "/w", ""},
      {"/a/./b/.", "/w", "/a/b"},   {"a", "", "/a"},       {"/../x", "/w", "/x"},
      {"a*b/?", "/w", "/w/a*b/?"}};
  for (const auto& [path, current, expected] : cases)
    EXPECT_EQ(normalizeAbsolute(path, current), expected) << path << " in " << current;
  EXPECT_EQ(joinPath("", "etc"), "/etc");
}

}  // namespace

}  // namespace tarvel
