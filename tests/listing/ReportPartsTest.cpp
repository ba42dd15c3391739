// Parts of a report: the progress it gives, the order of names, the footer box.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "listing/NameOrder.h"
#include "listing/ReportBoxes.h"
#include "tests/listing/ListingTestSupport.h"

namespace tarvel {

namespace {

// Top/A (empty), Top/B/f.txt, Top/g.txt
class SmallTree : public ::testing::Test {
 protected:
  SmallTree() {
    tree.createDir("Top/A");
    tree.createFile("Top/B/f.txt");
    tree.createFile("Top/g.txt");
  }
  TestTree tree;
  ListingRun run;
};

// Records the progress calls as "R<max>" and "P<position>".
class ProgressLog final : public ProgressSink {
 public:
  void setRange(std::int64_t maximum) override { record('R', maximum); }
  void setPosition(std::int64_t at) override { record('P', at); }
  void record(char kind, std::int64_t value) {
    calls += kind;
    calls += std::to_string(value);
    calls += ' ';
  }
  std::string calls;
};

TEST_F(SmallTree, ProgressFollowsEachFolder) {
  // Top: 2 folders, 1 file. A: nothing. B: 1 file.
  const std::tuple<bool, bool, std::string> cases[] = {
      {false, false, "R1 P0 R0 P0 R1 P0 R0 P0 P0 R1 P1 P1 "},
      {false, true, "R1 R1 P0 R0 R0 P0 R1 R1 P0 R0 R0 P0 R1 R1 P1 "},
      {true, false, "R1 R0 P0 R0 R0 P0 R1 R0 P0 R0 R0 P0 P0 R1 R0 P1 P1 "},
  };
  for (const auto& [noFolders, noFiles, calls] : cases) {
    ProgressLog log;
    run.setProgressSink(&log);
    ListingOptions options = plainOptions();
    options.noFolders = noFolders;
    options.noFiles = noFiles;
    listFolder(run, tree, "Top", options);
    EXPECT_EQ(log.calls, calls);
  }
  run.setProgressSink(nullptr);
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

TEST(ReportBoxes, LargeCountsWidenTheirLine) {
  std::string report;
  appendFooterBox(report, 1'000'000, 7);
  EXPECT_NE(report.find("| Nombre de fichiers: 1000000      |\r\n"), std::string::npos);
}

}  // namespace

}  // namespace tarvel
