#include "listing/ListingRun.h"

#include <gtest/gtest.h>

#include "listing/ReportBoxes.h"
#include "tests/listing/ListingTestSupport.h"

namespace tarvel {

namespace {

// The root's path is the empty text; its line must still name it.
TEST(SingleItem, TheRootShowsAsASlash) {
  ListingRun run;
  ListingOptions options;
  options.pathMode = PathMode::AbsolutePath;
  options.includeSubfolders = false;
  run.run({"/", "", ItemKind::Folder, nullptr}, options);
  EXPECT_EQ(run.report().substr(0, 3), "/\r\n");
}

TEST(ReportBoxes, LargeCountsWidenTheirLine) {
  std::string report;
  appendFooterBox(report, 1'000'000, 7);
  EXPECT_NE(report.find("| Nombre de fichiers: 1000000      |\r\n"), std::string::npos);
}

}  // namespace

}  // namespace tarvel
