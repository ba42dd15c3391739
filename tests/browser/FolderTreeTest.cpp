#include "browser/FolderTree.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <climits>
#include <string>
#include <vector>

#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

QStringList childTexts(const QTreeWidgetItem* item) {
  QStringList texts;
  for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
  return texts;
}

// A tree widget with the root in it and the test tree's folder selected and open.
class FolderTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.createDir("box");
    folders.initTree(true);
  }
  // Selects (and opens) the folder `relative` of the test tree.
  QTreeWidgetItem* open(const std::string& relative) {
    EXPECT_TRUE(folders.selectPath(tree.path(relative))) << relative;
    return folders.currentItem();
  }
  TestTree tree;
  FolderTree folders;
};

TEST_F(FolderTreeTest, FoldersComeFirstThenFilesEachInNameOrder) {
  for (const char* name : {"box/beta/", "box/Alpha/", "box/.hid/", "box/gamma/x"}) {
    tree.createDir(name);
  }
  for (const char* name : {"box/beta.f", "box/Alpha.txt", "box/Gamma", "box/.dot", "box/_u"}) {
    tree.createFile(name);
  }
  QTreeWidgetItem* box = open("box");
  EXPECT_EQ(childTexts(box), (QStringList{".hid", "Alpha", "beta", "gamma", ".dot", "_u",
                                          "Alpha.txt", "beta.f", "Gamma"}));
  const struct {
    int row;
    int data;
    int children;  // a placeholder only where the folder holds something
  } expected[] = {{0, 1, 0}, {1, 1, 0}, {3, 1, 1}, {4, 0, 0}, {8, 0, 0}};
  for (const auto& e : expected) {
    const QTreeWidgetItem* item = box->child(e.row);
    EXPECT_EQ(item->data(0, FolderTree::kFolderRole).toInt(), e.data) << e.row;
    EXPECT_EQ(item->childCount(), e.children) << e.row;
  }
  EXPECT_TRUE(FolderTree::rawName(box->child(3)->child(0)).isEmpty());
  EXPECT_TRUE(box->isExpanded());
}

TEST_F(FolderTreeTest, WhatCountsAsSomethingBelowAFolder) {
  const struct {
    const char* folder;
    const char* entry;  // ends in "/" for a folder; empty for none
    bool withFiles;
    bool withoutFiles;
  } cases[] = {
      {"empty", "", false, false},
      {"hiddenfile", ".h", false, false},  // FillFolder would list it, yet no expand button
      {"file", "f", true, false},
      {"hiddenfolder", ".d/", true, true},
      {"folder", "d/", true, true},
  };
  FolderTree withoutFiles;
  withoutFiles.initTree(false);
  for (const auto& c : cases) {
    const std::string entry = std::string("box/") + c.folder + "/" + c.entry;
    if (entry.ends_with('/')) {
      tree.createDir(entry);
    } else {
      tree.createFile(entry);
    }
    EXPECT_EQ(folders.hasSubItems(tree.path(std::string("box/") + c.folder)), c.withFiles)
        << c.folder;
    EXPECT_EQ(withoutFiles.hasSubItems(tree.path(std::string("box/") + c.folder)), c.withoutFiles)
        << c.folder;
  }
  tree.createSymlink("box/linked/to", tree.path("box/folder"));
  EXPECT_TRUE(withoutFiles.hasSubItems(tree.path("box/linked")));
}

TEST_F(FolderTreeTest, CollapseForgetsAndExpandReadsTheDiskAgain) {
  tree.createFile("box/sub/one");
  QTreeWidgetItem* sub = open("box/sub");
  EXPECT_EQ(childTexts(sub), QStringList{"one"});

  tree.createFile("box/sub/two");
  sub->setExpanded(false);
  ASSERT_EQ(sub->childCount(), 1);
  EXPECT_TRUE(FolderTree::rawName(sub->child(0)).isEmpty());
  sub->setExpanded(true);
  EXPECT_EQ(childTexts(sub), (QStringList{"one", "two"}));

  // A folder emptied meanwhile keeps its button until it is opened again.
  std::remove(tree.path("box/sub/one").c_str());
  std::remove(tree.path("box/sub/two").c_str());
  sub->setExpanded(false);
  EXPECT_EQ(sub->childCount(), 1);
  sub->setExpanded(true);
  EXPECT_EQ(sub->childCount(), 0);
  sub->setExpanded(true);  // Qt reports this too; nothing to read
  EXPECT_EQ(sub->childCount(), 0);
}

TEST_F(FolderTreeTest, SelectPathOpensEachFolderOnTheWay) {
  tree.createDir("box/a/b/c");
  QTreeWidgetItem* b = open("box/a/b/");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(folders.getItemPath(b), tree.path("box/a/b"));
  EXPECT_EQ(childTexts(b), QStringList{"c"});
  for (const QTreeWidgetItem* level = b; level != nullptr; level = level->parent()) {
    EXPECT_TRUE(level->isExpanded()) << level->text(0).toStdString();
  }

  // Selecting it again reads each folder on the way afresh.
  tree.createDir("box/a/b/d");
  tree.createFile("box/a/file");
  b = open("box/a/b");
  EXPECT_EQ(childTexts(b), (QStringList{"c", "d"}));
  EXPECT_EQ(childTexts(b->parent()), (QStringList{"b", "file"}));

  // Missing, wrongly cased or a file: nothing is selected, the selection stays.
  for (const char* missing : {"box/a/nothere", "box/A", "box/a/file"}) {
    EXPECT_FALSE(folders.selectPath(tree.path(missing))) << missing;
    EXPECT_EQ(folders.currentItem(), b);
  }

  for (const char* root : {"", "/", "//"}) {
    ASSERT_TRUE(folders.selectPath(root)) << root;
    EXPECT_EQ(folders.currentItem(), folders.topLevelItem(0));
    EXPECT_EQ(folders.currentItem()->text(0), "/");
  }
  // A link to a folder shows as a folder, and the user may open it.
  tree.createSymlink("box/via", tree.path("box/a"));
  EXPECT_EQ(childTexts(open("box/via/b")), (QStringList{"c", "d"}));

  // Deeper than any path the system takes at once: every folder on the way is still read.
  std::string deep = "box/deep";
  tree.createNestedDirs(deep, std::string(200, 'n'), PATH_MAX / 201 + 2);
  for (int level = 0; level < PATH_MAX / 201 + 2; ++level) deep += "/" + std::string(200, 'n');
  EXPECT_EQ(childTexts(open(deep)), QStringList{"leaf"});

  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
    ASSERT_TRUE(folders.selectPath(home));
    EXPECT_EQ(folders.getItemPath(folders.currentItem()) + "/",
              std::string(home).ends_with('/') ? std::string(home) : std::string(home) + "/");
  }
}

TEST_F(FolderTreeTest, ItemPathsComeFromTheRawNames) {
  const std::string odd = "bad\xff\x01name";
  tree.createFile("box/dir/file.txt");
  tree.createDir("box/" + odd + "/inside");
  QTreeWidgetItem* box = open("box");
  QTreeWidgetItem* dir = folders.findChildByText(box, "dir");
  QTreeWidgetItem* strange = folders.findChildByText(box, odd);
  ASSERT_NE(dir, nullptr);
  ASSERT_NE(strange, nullptr);
  dir->setExpanded(true);
  QTreeWidgetItem* file = folders.findChildByText(dir, "file.txt");
  ASSERT_NE(file, nullptr);

  const struct {
    const QTreeWidgetItem* item;
    std::string path;
  } cases[] = {
      {nullptr, ""},
      {folders.topLevelItem(0), ""},
      {box, tree.path("box")},
      {file, tree.path("box/dir/file.txt")},
      {strange, tree.path("box/" + odd)},
      {strange->child(0), tree.path("box/" + odd)},  // a placeholder: its parent's path
  };
  for (const auto& c : cases) EXPECT_EQ(folders.getItemPath(c.item), c.path) << c.path;

  EXPECT_EQ(strange->text(0), QString::fromUtf8("bad\xEF\xBF\xBD?name"));
  strange->setExpanded(true);  // the raw path still reaches the folder
  EXPECT_EQ(childTexts(strange), QStringList{"inside"});
}

TEST_F(FolderTreeTest, AUserOpensClosesAndPicksWithMouseAndKeys) {
  tree.createFile("box/a/inner.txt");
  tree.createFile("box/b.txt");
  folders.resize(300, 400);
  folders.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&folders));
  QTreeWidgetItem* box = open("box");
  QTreeWidgetItem* a = box->child(0);
  folders.scrollToItem(box->child(1));
  QApplication::processEvents();

  // The expand button, left of the item.
  const QRect rect = folders.visualItemRect(a);
  const QPoint button(rect.left() - folders.indentation() / 2, rect.center().y());
  QTest::mouseClick(folders.viewport(), Qt::LeftButton, {}, button);
  EXPECT_TRUE(a->isExpanded());
  EXPECT_EQ(childTexts(a), QStringList{"inner.txt"});
  QTest::mouseClick(folders.viewport(), Qt::LeftButton, {}, button);
  EXPECT_FALSE(a->isExpanded());
  EXPECT_TRUE(FolderTree::rawName(a->child(0)).isEmpty());

  QTest::mouseClick(folders.viewport(), Qt::LeftButton, {},
                    folders.visualItemRect(box->child(1)).center());
  EXPECT_EQ(folders.getItemPath(folders.currentItem()), tree.path("box/b.txt"));
  QTest::keyClick(&folders, Qt::Key_Up);
  QTest::keyClick(&folders, Qt::Key_Right);
  EXPECT_EQ(folders.currentItem(), a);
  EXPECT_EQ(childTexts(a), QStringList{"inner.txt"});
}

TEST(FolderTreeRoot, TheRootIsTheOnlyTopLevelItemAndHoldsAPlaceholder) {
  FolderTree folders;
  ASSERT_TRUE(folders.initTree(true));
  ASSERT_EQ(folders.topLevelItemCount(), 1);
  const QTreeWidgetItem* root = folders.topLevelItem(0);
  EXPECT_EQ(root->text(0), "/");
  EXPECT_EQ(root->childCount(), 1);
  EXPECT_FALSE(root->isExpanded());
  EXPECT_EQ(FolderTree::lastPathComponent("/usr/lib/"), "lib");
  EXPECT_EQ(FolderTree::lastPathComponent("name"), "name");
}

}  // namespace

}  // namespace tarvel
