#include "listing/NameOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

namespace {

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
