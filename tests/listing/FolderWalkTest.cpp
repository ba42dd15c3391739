#include "listing/FolderWalk.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/listing/ListingTestSupport.h"
#include "tests/support/MemoryTree.h"

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

class WarningCount final : public WarningSink {
 public:
  void warn(std::string_view caption, std::string_view) override {
    count += caption == "Avertissement";
  }
  int count = 0;
};

TEST(TreeSource, ListsWhatTheTreeHoldsInItsOrderAndWarnsOncePerRun) {
  MemoryNode root{"Top", true, 0, {}};
  root.add("zeta", true)->add("inner.txt", false);
  root.add("Alpha", true)->add("", false);  // a collapsed node holds only its placeholder
  root.add("b.TXT", false);
  root.add("a.txt", false);
  ListingRun run;
  WarningCount warnings;
  run.setWarningSink(&warnings);
  MemorySource source(true);
  ListingOptions options = plainOptions();
  options.extractTree = true;
  options.includeFileSize = true;
  options.pathMode = PathMode::RelativePath;
  options.applyPathOptionsToFiles = true;
  for (int round = 1; round <= 2; ++round) {
    run.run({"Top", "/data/Top", ItemKind::Folder, &root}, options, &source);
    EXPECT_EQ(run.report(), reportLines({"Root", " |-/zeta", " |  |-/zeta/inner.txt", " |-/Alpha",
                                         " |-/b.TXT", " |-/a.txt"}));
    EXPECT_EQ(run.state().fileCount, 3);
    EXPECT_EQ(warnings.count, round);
  }
}

}  // namespace

}  // namespace tarvel
