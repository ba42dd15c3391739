#include "listing/NameOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int sign(int value) {
  return (value > 0) - (value < 0);
}

TEST(NameOrder, ComparesBothWaysConsistently) {
  struct Case {
    std::string smaller;
    std::string larger;  // equal to `smaller` when `equal` is set
    bool equal;
  };
  const Case cases[] = {
      {"abba", "Zappa", false},
      {"A", "a", true},
      {"README", "Readme", true},
      {"ab", "abc", false},  // a prefix comes first
      {"a b", "ab", false},  // space before letters
      {"_x", "a", false},    // "_" sits between "Z" and "a": before every letter
      {"[x", "A", false},
      {"z", "{", false},           // "{" after every letter
      {"file10", "file9", false},  // no numeric order
      {"E", "z", false},
      {"z", "\xC3\xA9", false},         // beyond ASCII comes last
      {"\xC3\x89", "\xC3\xA9", false},  // accented letters are not folded
      {"", "a", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.smaller + " / " + c.larger);
    EXPECT_EQ(sign(compareNames(c.smaller, c.larger)), c.equal ? 0 : -1);
    EXPECT_EQ(sign(compareNames(c.larger, c.smaller)), c.equal ? 0 : 1);
  }
}

TEST(NameOrder, SortIsStableAndCaseBlindForAscii) {
  struct Case {
    std::vector<std::string> input;
    std::vector<std::string> sorted;
  };
  const Case cases[] = {
      {{}, {}},
      {{"only"}, {"only"}},
      {{"b", "A", "a", "B"}, {"A", "a", "b", "B"}},
      {{"B", "a", "b", "A"}, {"a", "A", "B", "b"}},
      {{"Zappa", "abba"}, {"abba", "Zappa"}},
      {{"file10", "file9", "File1"}, {"File1", "file10", "file9"}},
      {{"\xC3\xA9", "z", "E"}, {"E", "z", "\xC3\xA9"}},
      {{"e", "d", "c", "b", "a"}, {"a", "b", "c", "d", "e"}},
  };
  for (auto c : cases) {
    SortNames(c.input);
    EXPECT_EQ(c.input, c.sorted);
  }
}

TEST(NameOrder, ListingOrderBreaksTiesByBytes) {
  // Whatever order the folder is read in, names that compare equal come out the same way.
  EXPECT_TRUE(precedesInListing("README", "Readme"));
  EXPECT_FALSE(precedesInListing("Readme", "README"));
  EXPECT_FALSE(precedesInListing("same", "same"));
  EXPECT_TRUE(precedesInListing("Readme", "abc") == (compareNames("Readme", "abc") < 0));
}

}  // namespace
