// Trees that would hang, crash or forge lines in a careless walk.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/listing/ListingTestSupport.h"
#include "tests/support/ProcessRunner.h"

namespace tarvel {

namespace {

TEST(OddTrees, DeepTreesEndWhereThePathGetsTooLong) {
  TestTree tree;
  tree.createDir("Deep");
  const std::string longName(200, 'd');
  tree.createNestedDirs("Deep", longName, PATH_MAX / 201 + 5);
  ListingRun run;
  listFolder(run, tree, "Deep", plainOptions());
  // Every folder whose path fits lists its subfolder; the ones past the limit are empty.
  const auto readable = static_cast<int>((PATH_MAX - 1 - tree.path("Deep").size()) / 201);
  EXPECT_EQ(run.state().folderCount, readable + 1);
  EXPECT_EQ(run.state().fileCount, 0);
}

TEST(OddTrees, ThousandsOfLevelsNeedNoStack) {
  TestTree tree;
  tree.createDir("Top");
  tree.createNestedDirs("Top", "a", 1900);
  ListingRun run;
  listFolder(run, tree, "Top", ListingOptions{});
  EXPECT_EQ(run.state().folderCount, 1900);
  EXPECT_EQ(run.state().fileCount, 1);
}

TEST(OddTrees, UnreadableFoldersAreListedAsEmpty) {
  TestTree tree;
  tree.createFile("Top/closed/secret.txt");
  tree.createFile("Top/open.txt");
  tree.setMode("Top/closed", 0);
  const auto report = runUnprivileged([&] {
    ListingRun run;
    ListingOptions options = plainOptions();
    options.separatorOn = true;
    options.separatorPlacement = SeparatorPlacement::AfterAllDirectories;
    const std::string listing = listFolder(run, tree, "Top", options);
    return listing + std::to_string(run.state().fileCount);
  });
  if (!report) GTEST_SKIP() << "cannot drop privileges here";
  EXPECT_EQ(
      *report,
      reportLines({"Top", " |-closed", " |  |-------/", " |-open.txt", " |---------/"}) + "1");
}

}  // namespace

}  // namespace tarvel
