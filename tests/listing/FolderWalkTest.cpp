#include "listing/FolderWalk.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/listing/ListingTestSupport.h"

namespace {

// Top/A (empty), Top/B/f.txt, Top/g.txt
class SeparatorTree : public ::testing::Test {
 protected:
  SeparatorTree() {
    tree.createDir("Top/A");
    tree.createFile("Top/B/f.txt");
    tree.createFile("Top/g.txt");
  }
  TestTree tree;
  ListingRun run;
};

TEST_F(SeparatorTree, PlacementsAndPatterns) {
  using P = SeparatorPlacement;
  struct Case {
    const char* name;
    std::function<void(ListingOptions&)> set;
    std::string expected;
  };
  const Case cases[] = {
      {"after all folders, empty ones too",
       [](ListingOptions& o) { o.separatorPlacement = P::AfterAllDirectories; },
       reportLines({"Top", " |-A", " |  |--/", " |-B", " |  |-f.txt", " |  |------/", " |-g.txt",
                    " |------/"})},
      {"after folders that wrote a line",
       [](ListingOptions& o) { o.separatorPlacement = P::AfterNonEmptyDirectory; },
       reportLines(
           {"Top", " |-A", " |-B", " |  |-f.txt", " |  |------/", " |-g.txt", " |------/"})},
      {"after each folder name",
       [](ListingOptions& o) { o.separatorPlacement = P::AfterDirectoryName; },
       reportLines({"Top", " |-A", " |--/", " |-B", " |--/", " |  |-f.txt", " |-g.txt"})},
      {"a separator right after a separator draws two",
       [](ListingOptions& o) {
         o.separatorPlacement = P::AfterDirectoryName;
         o.noFolders = true;
       },
       reportLines({"Top", " |-/", " |--/", " |  |-f.txt", " |-g.txt"})},
      {"folders hidden: only file lines count as own lines",
       [](ListingOptions& o) {
         o.separatorPlacement = P::AfterNonEmptyDirectory;
         o.noFolders = true;
       },
       reportLines({"Top", " |  |-f.txt", " |  |------/", " |-g.txt", " |------/"})},
      {"plain text separator",
       [](ListingOptions& o) {
         o.separatorPlacement = P::AfterAllDirectories;
         o.separatorText = "==";
       },
       reportLines(
           {"Top", " |-A", " |  |==", " |-B", " |  |-f.txt", " |  |==", " |-g.txt", " |=="})},
      {"lone percent gives the prefix alone", [](ListingOptions& o) { o.separatorText = "%"; },
       reportLines({"Top", " |-A", " |-B", " |  |-f.txt", " |  |", " |-g.txt", " |"})},
      {"empty text", [](ListingOptions& o) { o.separatorText = ""; },
       reportLines({"Top", " |-A", " |-B", " |  |-f.txt", " |  |", " |-g.txt", " |"})},
      {"multi-byte drawing character",
       [](ListingOptions& o) { o.separatorText = "%\xE2\x95\x90|"; },
       reportLines(
           {"Top", " |-A", " |-B", " |  |-f.txt",
            " |  |\xE2\x95\x90\xE2\x95\x90\xE2\x95\x90\xE2\x95\x90\xE2\x95\x90\xE2\x95\x90|",
            " |-g.txt",
            " |\xE2\x95\x90\xE2\x95\x90\xE2\x95\x90\xE2\x95\x90\xE2\x95\x90\xE2\x95\x90|"})},
      {"switched off", [](ListingOptions& o) { o.separatorOn = false; },
       reportLines({"Top", " |-A", " |-B", " |  |-f.txt", " |-g.txt"})},
      {"without tree prefixes", [](ListingOptions& o) { o.treeStyle = false; },
       reportLines({"A", "B", "f.txt", "------/", "g.txt", "------/"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ListingOptions options = plainOptions();
    options.separatorOn = true;
    c.set(options);
    EXPECT_EQ(listFolder(run, tree, "Top", options), c.expected);
  }
}

TEST_F(SeparatorTree, UnderlineCountsDisplayColumns) {
  tree.createFile("Wide/\xE6\x97\xA5\xE6\x9C\xAC");  // two wide characters: four columns
  ListingOptions options = plainOptions();
  options.separatorOn = true;
  EXPECT_EQ(listFolder(run, tree, "Wide", options),
            reportLines({"Wide", " |-\xE6\x97\xA5\xE6\x9C\xAC", " |-----/"}));
}

// Records the progress calls as "R<max>" and "P<position>".
class ProgressLog final : public ProgressSink {
 public:
  void setRange(std::int64_t maximum) override { calls += "R" + std::to_string(maximum) + " "; }
  void setPosition(std::int64_t position) override {
    calls += "P" + std::to_string(position) + " ";
  }
  std::string calls;
};

TEST_F(SeparatorTree, ProgressFollowsEachFolder) {
  struct Case {
    const char* name;
    bool noFolders;
    bool noFiles;
    std::string calls;
  };
  // Top: 2 folders, 1 file. A: nothing. B: 1 file.
  const Case cases[] = {
      {"everything", false, false, "R1 P0 R0 P0 R1 P0 R0 P0 P0 R1 P1 P1 "},
      {"no file lines", false, true, "R1 R1 P0 R0 R0 P0 R1 R1 P0 R0 R0 P0 R1 R1 P1 "},
      {"no folder lines", true, false, "R1 R0 P0 R0 R0 P0 R1 R0 P0 R0 R0 P0 P0 R1 R0 P1 P1 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProgressLog log;
    run.setProgressSink(&log);
    ListingOptions options = plainOptions();
    options.noFolders = c.noFolders;
    options.noFiles = c.noFiles;
    listFolder(run, tree, "Top", options);
    EXPECT_EQ(log.calls, c.calls);
  }
  run.setProgressSink(nullptr);
}

// The folder tree as the tree source sees it: items in display order, placeholders included.
struct FakeItem {
  std::string text;
  bool isFolder = false;
  std::vector<std::unique_ptr<FakeItem>> children;
  FakeItem* add(std::string childText, bool folder) {
    children.push_back(std::make_unique<FakeItem>());
    children.back()->text = std::move(childText);
    children.back()->isFolder = folder;
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

class Warnings final : public WarningSink {
 public:
  void warn(std::string_view caption, std::string_view) override { captions.emplace_back(caption); }
  std::vector<std::string> captions;
};

TEST(TreeSource, ListsWhatTheTreeHoldsInItsOrder) {
  FakeItem root;
  root.text = "Top";
  FakeItem* zeta = root.add("zeta", true);
  zeta->add("inner.txt", false);
  FakeItem* collapsed = root.add("Alpha", true);
  collapsed->add("", false);  // a collapsed node holds only its placeholder
  root.add("b.TXT", false);
  root.add("a.txt", false);

  ListingRun run;
  Warnings warnings;
  run.setWarningSink(&warnings);
  FakeTreeSource source;
  ListingOptions options = plainOptions();
  options.extractTree = true;
  options.includeFileSize = true;
  options.pathMode = PathMode::RelativePath;
  options.applyPathOptionsToFiles = true;
  const SelectedItem selected{"Top", "/data/Top", ItemKind::Folder, &root};
  for (int round = 0; round < 2; ++round) {
    run.run(selected, options, &source);
    EXPECT_EQ(run.report(), reportLines({"Root", " |-/zeta", " |  |-/zeta/inner.txt", " |-/Alpha",
                                         " |-/b.TXT", " |-/a.txt"}));
    EXPECT_EQ(run.state().fileCount, 3);
    EXPECT_EQ(run.state().folderCount, 2);
  }
  EXPECT_EQ(warnings.captions, (std::vector<std::string>{"Avertissement", "Avertissement"}));

  // Without the tree option the same run reads the disk and warns of nothing.
  options.extractTree = false;
  run.run({"/", "", ItemKind::File, nullptr}, options, &source);
  EXPECT_EQ(warnings.captions.size(), 2u);
}

}  // namespace
