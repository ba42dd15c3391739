// Parts of a report: the progress it gives, the footer box.
#include <gtest/gtest.h>

#include <string>

#include "listing/EntryRecord.h"
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

// Times a file system may hold, in and out of what four-digit years can write.
TEST(EntryTimes, WriteAsUtcSecondsWithinFourDigitYears) {
  const std::pair<std::int64_t, const char*> cases[] = {{0, "1970-01-01T00:00:00Z"},
                                                        {-1, "1969-12-31T23:59:59Z"},
                                                        {951782400, "2000-02-29T00:00:00Z"},
                                                        {1796710483, "2026-12-08T06:14:43Z"},
                                                        {-62167219200, "0000-01-01T00:00:00Z"},
                                                        {253402300799, "9999-12-31T23:59:59Z"},
                                                        {-62167219201, ""},
                                                        {253402300800, ""},
                                                        {INT64_MIN, ""}};
  for (const auto& [seconds, expected] : cases) {
    std::string text;
    EXPECT_EQ(appendUtcTime(text, seconds), *expected != '\0') << seconds;
    EXPECT_EQ(text, expected) << seconds;
  }
}

}  // namespace

}  // namespace tarvel
