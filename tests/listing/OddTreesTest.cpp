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

TEST(OddTrees, LinksAreShownButNeverEnteredAndSizesAreWhole) {
  TestTree tree;
  tree.createFile("Top/real/file.txt", "12345");
  tree.createSymlink("Top/real/up", "..");  // a loop back to Top
  tree.createSymlink("Top/broken", "nowhere");
  tree.createSparseFile("Top/huge.bin", 5ull << 30);
  ListingRun run;
  ListingOptions options = plainOptions();
  options.includeFileSize = true;
  EXPECT_EQ(listFolder(run, tree, "Top", options),
            reportLines({"Top", " |-real", " |  |-up", " |  |-file.txt ( 5 )", " |-broken ( 7 )",
                         " |-huge.bin ( 5368709120 )"}));
  EXPECT_EQ(run.state().folderCount, 2);
}

TEST(OddTrees, OddNamesCannotForgeLinesAndPassThroughOtherwise) {
  TestTree tree;
  tree.createFile("Odd\nTop/line\nbreak.txt");
  tree.createFile("Odd\nTop/tab\there/x\r");
  tree.createFile("Odd\nTop/\xFF\xFEname.TXT");
  tree.createFile("Odd\nTop/*.?");
  tree.createFile("Odd\nTop/README");
  tree.createFile("Odd\nTop/Readme");
  ListingRun run;
  ListingOptions options = plainOptions();
  options.capitalizeNames = true;
  options.pathMode = PathMode::RelativePath;
  EXPECT_EQ(listFolder(run, tree, "Odd\nTop", options),
            reportLines({"Root", " |-/tab?here", " |  |-X?", " |-*.?", " |-Line?break.txt",
                         " |-Readme", " |-Readme", " |-\xFF\xFEname.txt"}));
}

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
