#include "listing/NameOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvel {

namespace {

int sign(int value) {
  return (value > 0) - (value < 0);
}

TEST(NameOrder, ComparesBothWaysConsistently) {
  struct Case {
    std::string smaller, larger;
    bool equal;
  };
  const Case cases[] = {
      {"abba", "Zappa", false},
      {"A", "a", true},
      {"README", "Readme", true},
      {"ab", "abc", false},
      {"a b", "ab", false},
      {"_x", "a", false},
      {"z", "{", false},
      {"file10", "file9", false},
      {"z", "\xC3\xA9", false},         // beyond ASCII comes last
      {"\xC3\x89", "\xC3\xA9", false},  // accented letters are not folded
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.smaller + " / " + c.larger);
    EXPECT_EQ(sign(compareNames(c.smaller, c.larger)), c.equal ? 0 : -1);
    EXPECT_EQ(sign(compareNames(c.larger, c.smaller)), c.equal ? 0 : 1);
    // Listing order never leaves two different names tied.
    EXPECT_TRUE(precedesInListing(c.smaller, c.larger));
    EXPECT_FALSE(precedesInListing(c.larger, c.smaller));
  }
}

}  // namespace

}  // namespace tarvel
