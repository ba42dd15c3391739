// Trees that would hang, crash or forge lines in a careless walk.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/listing/ListingTestSupport.h"
#include "tests/support/ProcessRunner.h"

namespace {

TEST(OddTrees, LinksAreShownButNeverEntered) {
  TestTree tree;
  tree.createFile("Top/real/file.txt", "12345");
  tree.createSymlink("Top/real/up", "..");  // a loop back to Top
  tree.createSymlink("Top/self", ".");
  tree.createSymlink("Top/broken", "nowhere");
  tree.createSymlink("Top/to-file", "real/file.txt");
  ListingRun run;
  ListingOptions options = plainOptions();
  options.includeFileSize = true;
  EXPECT_EQ(listFolder(run, tree, "Top", options),
            reportLines({"Top", " |-real", " |  |-up", " |  |-file.txt ( 5 )", " |-self",
                         " |-broken ( 7 )", " |-to-file ( 13 )"}));
  EXPECT_EQ(run.state().folderCount, 3);
  EXPECT_EQ(run.state().fileCount, 3);
}

TEST(OddTrees, SizesBeyondFourGigabytes) {
  TestTree tree;
  tree.createSparseFile("Big/huge.bin", 5ull << 30);
  ListingRun run;
  ListingOptions options = plainOptions();
  options.includeFileSize = true;
  EXPECT_EQ(listFolder(run, tree, "Big", options),
            reportLines({"Big", " |-huge.bin ( 5368709120 )"}));
}

TEST(OddTrees, ControlCharactersCannotForgeLines) {
  TestTree tree;
  tree.createFile("Odd\nTop/line\nbreak.txt");
  tree.createFile("Odd\nTop/tab\there/x\r");
  ListingRun run;
  ListingOptions options = plainOptions();
  options.pathMode = PathMode::AbsolutePath;
  options.applyPathOptionsToFiles = true;
  const std::string root = tree.path("Odd?Top");
  EXPECT_EQ(listFolder(run, tree, "Odd\nTop", options),
            reportLines({root, " |-" + root + "/tab?here", " |  |-" + root + "/tab?here/x?",
                         " |-" + root + "/line?break.txt"}));
}

TEST(OddTrees, InvalidUtf8AndPatternCharactersPassThrough) {
  TestTree tree;
  tree.createFile("Top/\xFF\xFEname.TXT");
  tree.createFile("Top/*.?");
  tree.createFile("Top/README");
  tree.createFile("Top/Readme");
  ListingRun run;
  ListingOptions options;  // start-up values: capitalised lines
  options.separatorOn = false;
  EXPECT_EQ(listFolder(run, tree, "Top", options),
            reportLines({"Top", " |-*.?", " |-Readme", " |-Readme", " |-\xFF\xFEname.txt"}));
}

TEST(OddTrees, DeepTreesEndWhereThePathGetsTooLong) {
  TestTree tree;
  tree.createDir("Deep");
  const std::string longName(200, 'd');
  int parent = ::open(tree.path("Deep").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(parent, 0);
  std::size_t pathLength = tree.path("Deep").size();
  int levels = 0;
  // Goes on below PATH_MAX, which only descriptor-relative calls can reach.
  while (pathLength < PATH_MAX + 1000) {
    ASSERT_EQ(::mkdirat(parent, longName.c_str(), 0755), 0);
    const int child = ::openat(parent, longName.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(parent);
    parent = child;
    pathLength += 1 + longName.size();
    ++levels;
  }
  ::close(::openat(parent, "leaf", O_CREAT | O_WRONLY, 0644));
  ::close(parent);

  ListingRun run;
  ListingOptions options = plainOptions();
  options.treeStyle = false;
  listFolder(run, tree, "Deep", options);
  const auto readable = static_cast<int>((PATH_MAX - 1 - tree.path("Deep").size()) / 201);
  // Every readable folder lists its subfolder; the ones past the limit are empty.
  EXPECT_EQ(run.state().folderCount, readable + 1);
  EXPECT_EQ(run.state().fileCount, 0);
  EXPECT_LT(readable + 1, levels);
}

TEST(OddTrees, ThousandsOfLevelsNeedNoStack) {
  TestTree tree;
  std::string relative = "Top";
  tree.createDir(relative);
  int parent = ::open(tree.path(relative).c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < 1900; ++level) {
    ASSERT_EQ(::mkdirat(parent, "a", 0755), 0);
    const int child = ::openat(parent, "a", O_RDONLY | O_DIRECTORY);
    ::close(parent);
    parent = child;
  }
  ::close(parent);
  ListingRun run;
  ListingOptions options;
  listFolder(run, tree, "Top", options);
  EXPECT_EQ(run.state().folderCount, 1900);
}

TEST(OddTrees, UnreadableFoldersAreListedAsEmpty) {
  TestTree tree;
  tree.createFile("Top/closed/secret.txt");
  tree.createFile("Top/open.txt");
  tree.setMode("Top/closed", 0);
  const auto report = runUnprivileged([&] {
    ListingRun run;
    ListingOptions options = plainOptions();
    options.includeFooter = true;
    options.separatorOn = true;
    options.separatorPlacement = SeparatorPlacement::AfterAllDirectories;
    return listFolder(run, tree, "Top", options);
  });
  if (!report) GTEST_SKIP() << "cannot drop privileges here";
  EXPECT_EQ(report->substr(0, report->find("/---")),
            reportLines({"Top", " |-closed", " |  |-------/", " |-open.txt", " |---------/"}));
  EXPECT_NE(report->find("| Nombre de fichiers:      1      |"), std::string::npos);
}

}  // namespace
