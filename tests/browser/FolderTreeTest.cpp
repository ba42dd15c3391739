#include "browser/FolderTree.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <climits>
#include <string>
#include <tuple>

#include "browser/TreeSource.h"
#include "tests/listing/ListingTestSupport.h"

namespace tarvel {

namespace {

// An item's children as shown: "name/" for a folder, "name/+" for one with an expand button
// (a placeholder child, whose text is empty).
QStringList childTexts(const QTreeWidgetItem* item) {
  QStringList texts;
  for (int i = 0; i < item->childCount(); ++i) {
    const QTreeWidgetItem* child = item->child(i);
    texts << child->text(0) + (FolderTree::isFolderItem(child) ? "/" : "") +
                 (child->childCount() > 0 ? "+" : "");
  }
  return texts;
}

// A tree widget with the root in it and the test tree's folder selected and open.
class FolderTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.createDir("box");
    folders.initTree();
  }
  // Selects (and opens) the folder `relative` of the test tree.
  QTreeWidgetItem* open(const std::string& relative) {
    EXPECT_TRUE(folders.selectPath(tree.path(relative))) << relative;
    return folders.currentItem();
  }
  TestTree tree;
  FolderTree folders;
};

// Folders first, then files, each in the listing's name order. A folder has an expand button when
// it holds a folder, hidden or not, or (files shown) a file that is not hidden; a link to a
// folder shows as a folder.
TEST_F(FolderTreeTest, FoldersShowInOrderWithTheRightExpandButton) {
  for (const char* name : {"box/empty/", "box/.hid/.d/", "box/gamma/x/"}) tree.createDir(name);
  for (const char* name : {"box/Alpha/.h", "box/beta/f", "box/beta.f", "box/Alpha.txt", "box/Gamma",
                           "box/.dot", "box/_u"})
    tree.createFile(name);
  tree.createSymlink("box/link", tree.path("box/gamma"));
  QTreeWidgetItem* box = open("box");
  // Drawing and the cursor come back once the items are in.
  EXPECT_TRUE(folders.updatesEnabled() && QApplication::overrideCursor() == nullptr);
  EXPECT_EQ(childTexts(box), (QStringList{".hid/+", "Alpha/", "beta/+", "empty/", "gamma/+",
                                          "link/+", ".dot", "_u", "Alpha.txt", "beta.f", "Gamma"}));
  EXPECT_TRUE(FolderTree::rawName(box->child(0)->child(0)).isEmpty());
  const QIcon& folderIcon = box->child(1)->icon(0);  // not the icon of a file without extension
  EXPECT_TRUE(!folderIcon.isNull() && folderIcon.cacheKey() != box->child(10)->icon(0).cacheKey());
  EXPECT_FALSE(folderIcon.availableSizes(QIcon::Selected).isEmpty());  // open, once selected
}

TEST_F(FolderTreeTest, ExpandingReadsTheDiskAgain) {
  tree.createFile("box/sub/one");
  QTreeWidgetItem* sub = open("box/sub");
  tree.createFile("box/sub/two");
  sub->setExpanded(false);
  EXPECT_EQ(childTexts(sub), QStringList{""});  // what was read is forgotten
  sub->setExpanded(true);
  EXPECT_EQ(childTexts(sub), (QStringList{"one", "two"}));

  // A folder emptied meanwhile keeps its button until it is opened again.
  for (const char* name : {"box/sub/one", "box/sub/two"}) std::remove(tree.path(name).c_str());
  sub->setExpanded(false);
  EXPECT_EQ(childTexts(sub), QStringList{""});
  sub->setExpanded(true);
  sub->setExpanded(true);  // Qt reports this too; nothing to read
  EXPECT_EQ(sub->childCount(), 0);
}

TEST_F(FolderTreeTest, SelectingAPathOpensEveryFolderOnTheWayToIt) {
  tree.createDir("box/a/b/c");
  QTreeWidgetItem* b = open("box/a/b/");
  EXPECT_EQ(folders.getItemPath(b), tree.path("box/a/b"));
  EXPECT_EQ(childTexts(b), QStringList{"c/"});
  for (const QTreeWidgetItem* level = b; level != nullptr; level = level->parent())
    EXPECT_TRUE(level->isExpanded()) << level->text(0).toStdString();

  // Selecting it again reads each folder on the way afresh.
  tree.createDir("box/a/b/d");
  tree.createFile("box/a/file");
  b = open("box/a/b");
  EXPECT_EQ(childTexts(b), (QStringList{"c/", "d/"}));
  EXPECT_EQ(childTexts(b->parent()), (QStringList{"b/+", "file"}));

  // Missing, wrongly cased or below a file: nothing is selected, the selection stays.
  for (const char* missing : {"box/a/nothere", "box/A", "box/a/file/x"}) {
    EXPECT_FALSE(folders.selectPath(tree.path(missing))) << missing;
    EXPECT_EQ(folders.currentItem(), b);
  }
  // A file, and a link that leads nowhere, are selected as the items they are.
  tree.createSymlink("box/a/gone", tree.path("box/nothere"));
  for (const char* file : {"box/a/file", "box/a/gone"}) {
    EXPECT_TRUE(folders.selectPath(tree.path(file))) << file;
    EXPECT_EQ(folders.getItemPath(folders.currentItem()), tree.path(file));
  }

  for (const char* root : {"", "/", "//"})
    EXPECT_TRUE(folders.selectPath(root) && folders.currentItem()->text(0) == "/") << root;
  EXPECT_EQ(folders.topLevelItemCount(), 1);
  // A link to a folder shows as a folder, and the user may open it.
  tree.createSymlink("box/via", tree.path("box/a"));
  EXPECT_EQ(childTexts(open("box/via")), (QStringList{"b/+", "file", "gone"}));

  // Deeper than any path the system takes at once: every folder on the way is still read.
  std::string deep = "box/deep";
  tree.createNestedDirs(deep, std::string(200, 'n'), PATH_MAX / 201 + 2);
  for (int level = 0; level < PATH_MAX / 201 + 2; ++level) deep += "/" + std::string(200, 'n');
  EXPECT_EQ(childTexts(open(deep)), QStringList{"leaf"});
}

TEST_F(FolderTreeTest, AnItemHasItsPathFromTheDiskAndItsKind) {
  const std::string odd = "bad\xff\x01name";
  tree.createFile("box/dir/file.txt");
  tree.createDir("box/" + odd + "/inside");
  QTreeWidgetItem* box = open("box");
  QTreeWidgetItem* dir = folders.findChildByText(box, "dir");
  QTreeWidgetItem* strange = folders.findChildByText(box, odd);
  ASSERT_TRUE(dir != nullptr && strange != nullptr);
  EXPECT_EQ(folders.findChildByText(box, "nothere"), nullptr);
  dir->setExpanded(true);
  QTreeWidgetItem* file = folders.findChildByText(dir, "file.txt");

  // The root and folders list as folders, whatever they hold; anything else as a file.
  const std::tuple<const QTreeWidgetItem*, std::string, ItemKind> cases[] = {
      {folders.topLevelItem(0), "", ItemKind::Folder},
      {box, tree.path("box"), ItemKind::Folder},
      {file, tree.path("box/dir/file.txt"), ItemKind::File},
      {strange, tree.path("box/" + odd), ItemKind::Folder},
      {strange->child(0), tree.path("box/" + odd), ItemKind::File},  // a placeholder
  };
  for (const auto& [item, path, kind] : cases) {
    EXPECT_EQ(folders.getItemPath(item), path);
    EXPECT_EQ(selectedItemOf(folders, item).kind, kind) << path;
  }
  EXPECT_EQ(strange->text(0), QString::fromUtf8("bad\xEF\xBF\xBD?name"));
  strange->setExpanded(true);  // the raw path still reaches the folder
  EXPECT_EQ(childTexts(strange), QStringList{"inside/"});
}

// The report of `item` listed from what the tree holds, or from the disk.
std::string listing(const FolderTree& folders, const QTreeWidgetItem* item, ListingOptions options,
                    bool fromTree) {
  TreeSource source;
  ListingRun run;
  options.extractTree = fromTree;
  run.run(selectedItemOf(folders, item), options, &source);
  return run.report();
}

// box/music/{Zed/{b.mp3, A.mp3, .h}, abba/{Song.ogg}, readme.TXT, "odd\nname\xff"/{x}, empty/}
TEST_F(FolderTreeTest, TheTreeListsAsTheDiskAndNothingBelowAClosedFolder) {
  for (const char* name :
       {"Zed/b.mp3", "Zed/A.mp3", "Zed/.h", "abba/Song.ogg", "readme.TXT", "odd\nname\xff/x"})
    tree.createFile(std::string("box/music/") + name);
  tree.createDir("box/music/empty");
  QTreeWidgetItem* music = open("box/music");
  ListingOptions options = plainOptions();
  // Open, its subfolders closed: their contents are not in the tree.
  EXPECT_EQ(listing(folders, music, options, true),
            "music\r\n |-abba\r\n |-empty\r\n |-odd?name\xff\r\n |-Zed\r\n |-readme.TXT\r\n");
  EXPECT_NE(listing(folders, music, options, false).find("Song.ogg"), std::string::npos);
  for (int i = 0; i < music->childCount(); ++i) music->child(i)->setExpanded(true);
  EXPECT_EQ(listing(folders, music, {}, true), listing(folders, music, {}, false));
  options.applyPathOptionsToFiles = options.separatorOn = true;
  options.separatorPlacement = SeparatorPlacement::AfterAllDirectories;
  options.pathMode = PathMode::AbsolutePath;
  EXPECT_EQ(listing(folders, music, options, true), listing(folders, music, options, false));
}

}  // namespace

}  // namespace tarvel
