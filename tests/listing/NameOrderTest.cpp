#include "listing/NameOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
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

// The sort by keys of eight bytes must give exactly the order of the comparison: names that
// agree on one, two or more keys, differ only in case, or end inside or at a key's edge.
TEST(NameOrder, SortingByKeysGivesTheComparisonsOrder) {
  std::vector<std::string> names;
  for (const std::string stem : {"", "a", "abcdefg", "ABCDEFGH", "abcdefgh", "abcdefghijklmnop"}) {
    for (const std::string tail : {"", "a", "B", "b", "\xC3\xA9", "\x01", "zz"}) {
      names.push_back(stem + tail);
      names.push_back(tail + stem);
    }
  }
  std::vector<std::string> expected = names;
  std::sort(expected.begin(), expected.end(), precedesInListing);
  for (int turn = 0; turn < 3; ++turn) {
    std::rotate(names.begin(), names.begin() + 7, names.end());  // another input order
    std::vector<std::string> sorted = names;
    sortByName(sorted, [](const std::string& name) { return std::string_view(name); });
    EXPECT_EQ(sorted, expected);
  }
}

}  // namespace

}  // namespace tarvel
