#include "listing/FolderWalk.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

TEST_F(SmallTree, SeparatorPlacementsAndPatterns) {
  using P = SeparatorPlacement;
  const std::string bar = "\xE2\x95\x90";
  const std::string sixBars = bar + bar + bar + bar + bar + bar;
  struct Case {
    P placement;
    bool noFolders;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {P::AfterAllDirectories, false, "%-/",
       reportLines({"Top", " |-A", " |  |--/", " |-B", " |  |-f.txt", " |  |------/", " |-g.txt",
                    " |------/"})},
      {P::AfterNonEmptyDirectory, false, "%-/",
       reportLines(
           {"Top", " |-A", " |-B", " |  |-f.txt", " |  |------/", " |-g.txt", " |------/"})},
      {P::AfterDirectoryName, false, "%-/",
       reportLines({"Top", " |-A", " |--/", " |-B", " |--/", " |  |-f.txt", " |-g.txt"})},
      // Before any entry line the run is one long; right after a separator, two.
      {P::AfterDirectoryName, true, "%-/",
       reportLines({"Top", " |-/", " |--/", " |  |-f.txt", " |-g.txt"})},
      {P::AfterNonEmptyDirectory, true, "%-/",
       reportLines({"Top", " |  |-f.txt", " |  |------/", " |-g.txt", " |------/"})},
      {P::AfterAllDirectories, false, "==",
       reportLines(
           {"Top", " |-A", " |  |==", " |-B", " |  |-f.txt", " |  |==", " |-g.txt", " |=="})},
      // The typed text is written as typed, a tab and the "%" unit alike.
      {P::AfterAllDirectories, false, "=\t=",
       reportLines({"Top", " |-A", " |  |=\t=", " |-B", " |  |-f.txt", " |  |=\t=", " |-g.txt",
                    " |=\t="})},
      {P::AfterNonEmptyDirectory, false, "%\t/",
       reportLines({"Top", " |-A", " |-B", " |  |-f.txt", " |  |\t\t\t\t\t\t/", " |-g.txt",
                    " |\t\t\t\t\t\t/"})},
      {P::AfterNonEmptyDirectory, false, "%",
       reportLines({"Top", " |-A", " |-B", " |  |-f.txt", " |  |", " |-g.txt", " |"})},
      {P::AfterNonEmptyDirectory, false, "%\xE2\x95\x90",  // a multi-byte drawing character
       reportLines(
           {"Top", " |-A", " |-B", " |  |-f.txt", " |  |" + sixBars, " |-g.txt", " |" + sixBars})},
  };
  for (const auto& c : cases) {
    ListingOptions options = plainOptions();
    options.separatorOn = true;
    options.separatorPlacement = c.placement;
    options.noFolders = c.noFolders;
    options.separatorText = c.text;
    EXPECT_EQ(listFolder(run, tree, "Top", options), c.expected)
        << c.text << " " << int(c.placement);
  }
}

TEST_F(SmallTree, UnderlineCountsDisplayColumns) {
  tree.createFile("Wide/\xE6\x97\xA5\xE6\x9C\xAC");  // two wide characters: four columns
  ListingOptions options = plainOptions();
  options.separatorOn = true;
  EXPECT_EQ(listFolder(run, tree, "Wide", options),
            reportLines({"Wide", " |-\xE6\x97\xA5\xE6\x9C\xAC", " |-----/"}));
}

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

// The folder tree as the tree source sees it: items in display order, placeholders included.
struct FakeItem {
  std::string text;
  bool isFolder = false;
  std::vector<std::unique_ptr<FakeItem>> children;
  FakeItem* add(std::string childText, bool folder) {
    children.push_back(std::make_unique<FakeItem>(FakeItem{std::move(childText), folder, {}}));
    return children.back().get();
  }
};

class FakeTreeSource final : public EntrySource {
 public:
  bool providesSizes() const override { return false; }
  bool keepsItsOrder() const override { return true; }
  void readFolder(const FolderToRead& folder, bool, FolderContents& contents) override {
    for (const auto& child : static_cast<const FakeItem*>(folder.item)->children) {
      if (child->isFolder) {
        contents.addFolder(child->text, true, child.get());
      } else {
        contents.addFile(child->text);
      }
    }
  }
};

class WarningCount final : public WarningSink {
 public:
  void warn(std::string_view caption, std::string_view) override {
    count += caption == "Avertissement";
  }
  int count = 0;
};

TEST(TreeSource, ListsWhatTheTreeHoldsInItsOrderAndWarnsOncePerRun) {
  FakeItem root{"Top", true, {}};
  root.add("zeta", true)->add("inner.txt", false);
  root.add("Alpha", true)->add("", false);  // a collapsed node holds only its placeholder
  root.add("b.TXT", false);
  root.add("a.txt", false);
  ListingRun run;
  WarningCount warnings;
  run.setWarningSink(&warnings);
  FakeTreeSource source;
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
