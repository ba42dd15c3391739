// Parts of a report: the progress it gives, the footer box.
#include <gtest/gtest.h>

#include <string>

#include "listing/ReportBoxes.h"
#include "tests/listing/ListingTestSupport.h"

namespace tarvel {

namespace {

// Records the progress calls as "R<max>" and "P<position>".
struct ProgressLog final : ProgressSink {
  void setRange(std::int64_t maximum) override { calls += 'R' + std::to_string(maximum) + ' '; }
  void setPosition(std::int64_t at) override { calls += 'P' + std::to_string(at) + ' '; }
  std::string calls;
};

TEST(SmallTree, ProgressFollowsEachFolder) {
  TestTree tree;
  tree.createDir("Top/A");
  tree.createFile("Top/B/f.txt");
  tree.createFile("Top/g.txt");
  ListingRun run;
  // Top: 2 folders, 1 file. A: nothing. B: 1 file.
  const std::tuple<bool, bool, bool, std::string> cases[] = {
      {false, false, true, "R1 P0 R0 P0 R1 P0 R0 P0 P0 R1 P1 P1 "},
      {false, true, true, "R1 R1 P0 R0 R0 P0 R1 R1 P0 R0 R0 P0 R1 R1 P1 "},
      {true, false, true, "R1 R0 P0 R0 R0 P0 R1 R0 P0 R0 R0 P0 P0 R1 R0 P1 P1 "},
      {false, false, false, "R1 P0 P0 P1 P1 "},
  };
  for (const auto& [noFolders, noFiles, subfolders, calls] : cases) {
    ProgressLog log;
    run.setProgressSink(&log);
    ListingOptions options = plainOptions();
    options.noFolders = noFolders;
    options.noFiles = noFiles;
    options.includeSubfolders = subfolders;
    listFolder(run, tree, "Top", options);
    EXPECT_EQ(log.calls, calls);
  }
  run.setProgressSink(nullptr);
}

TEST(ReportBoxes, LargeCountsWidenTheirLine) {
  std::string report;
  appendFooterBox(report, 1'000'000, 7);
  EXPECT_NE(report.find("| Nombre de fichiers: 1000000      |\r\n"), std::string::npos);
}

}  // namespace

}  // namespace tarvel
