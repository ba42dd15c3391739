#include "browser/TreeSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/FolderTree.h"
#include "listing/ListingRun.h"
#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

// Opens `item` and every folder below it, as a user clicking each expand button would.
void openAll(QTreeWidgetItem* item) {
  item->setExpanded(true);
  for (int i = 0; i < item->childCount(); ++i) {
    if (FolderTree::isFolderItem(item->child(i))) openAll(item->child(i));
  }
}

struct CountingWarnings final : WarningSink {
  void warn(std::string_view caption, std::string_view) override { captions.emplace_back(caption); }
  std::vector<std::string> captions;
};

// music/{Zed/{b.mp3, A.mp3, .h}, abba/{Song.ogg}, readme.TXT, "odd\nname\xff"/{x}, empty/}
class TreeSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.createFile("music/Zed/b.mp3", "bb");
    tree.createFile("music/Zed/A.mp3", "a");
    tree.createFile("music/Zed/.h");
    tree.createFile("music/abba/Song.ogg", "song");
    tree.createFile("music/readme.TXT", "hello");
    tree.createFile("music/odd\nname\xff/x");
    tree.createDir("music/empty");
    folders.initTree(true);
    ASSERT_TRUE(folders.selectPath(tree.path("music")));
    music = folders.currentItem();
  }
  std::string list(const ListingOptions& options, bool fromTree) {
    ListingOptions chosen = options;
    chosen.extractTree = fromTree;
    run.run(selectedItemOf(folders, music), chosen, &source);
    return run.report();
  }
  TestTree tree;
  FolderTree folders;
  QTreeWidgetItem* music = nullptr;
  TreeSource source;
  ListingRun run;
};

TEST_F(TreeSourceTest, AnOpenTreeListsAsTheDiskDoes) {
  openAll(music);
  const auto options = [](auto change) {
    ListingOptions o;
    o.includeHeader = false;
    change(o);
    return o;
  };
  const ListingOptions cases[] = {
      options([](ListingOptions&) {}),
      options([](ListingOptions& o) { o.includeFooter = true; }),
      options([](ListingOptions& o) {
        o.pathMode = PathMode::AbsolutePath;
        o.applyPathOptionsToFiles = true;
        o.treeStyle = false;
      }),
      options([](ListingOptions& o) {
        o.pathMode = PathMode::RelativePath;
        o.separatorPlacement = SeparatorPlacement::AfterAllDirectories;
      }),
      options([](ListingOptions& o) {
        o.jukeboxMode = true;
        o.extensionFilterOn = true;
        o.extensionFilter = "*.mp3";
      }),
      options([](ListingOptions& o) {
        o.includeSubfolders = false;
        o.capitalizeNames = false;
        o.removeExtension = true;
      }),
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(list(cases[i], true), list(cases[i], false)) << "case " << i;
  }
}

TEST_F(TreeSourceTest, OnlyWhatTheTreeHoldsIsListed) {
  ListingOptions options;
  options.includeHeader = false;
  options.separatorOn = false;
  options.capitalizeNames = false;
  // "music" is open, its subfolders are not: their contents are not in the tree.
  EXPECT_EQ(list(options, true),
            "music\r\n |-abba\r\n |-empty\r\n |-odd?name\xff\r\n |-Zed\r\n |-readme.TXT\r\n");
  openAll(music);
  folders.findChildByText(music, "Zed")->setExpanded(false);
  const std::string report = list(options, true);
  EXPECT_EQ(report.find("A.mp3"), std::string::npos);
  EXPECT_NE(report.find("Song.ogg"), std::string::npos);
}

TEST_F(TreeSourceTest, SizesAskedOfTheTreeWarnOncePerRun) {
  openAll(music);
  CountingWarnings warnings;
  run.setWarningSink(&warnings);
  ListingOptions options;
  options.includeFileSize = true;
  const std::string withSizesAsked = list(options, true);
  EXPECT_EQ(warnings.captions, std::vector<std::string>{"Avertissement"});
  list(options, true);
  EXPECT_EQ(warnings.captions.size(), 2u);
  options.includeFileSize = false;
  EXPECT_EQ(withSizesAsked, list(options, true));  // listed without sizes
  list(ListingOptions{}, false);
  EXPECT_EQ(warnings.captions.size(), 2u);
}

TEST_F(TreeSourceTest, TheSelectedItemsKind) {
  openAll(music);
  const struct {
    const QTreeWidgetItem* item;
    const char* text;
    ItemKind kind;
  } cases[] = {
      {folders.topLevelItem(0), "/", ItemKind::Folder},
      {music, "music", ItemKind::Folder},
      {folders.findChildByText(music, "empty"), "empty", ItemKind::Folder},
      {folders.findChildByText(music, "readme.TXT"), "readme.TXT", ItemKind::File},
  };
  for (const auto& c : cases) {
    const SelectedItem selected = selectedItemOf(folders, c.item);
    EXPECT_EQ(selected.text, c.text);
    EXPECT_EQ(selected.kind, c.kind) << c.text;
    EXPECT_EQ(selected.path, folders.getItemPath(c.item));
  }
}

}  // namespace

}  // namespace tarvel
