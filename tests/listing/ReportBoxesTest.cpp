#include "listing/ReportBoxes.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvel {

namespace {

TEST(ReportBoxes, LargeCountsWidenTheirLine) {
  std::string report;
  appendFooterBox(report, 1'000'000, 7);
  EXPECT_NE(report.find("| Nombre de fichiers: 1000000      |\r\n"), std::string::npos);
}

}  // namespace

}  // namespace tarvel
