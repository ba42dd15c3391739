#pragma once

#include <QTreeWidget>
#include <string>
#include <string_view>

#include "browser/ItemIcons.h"
#include "platform/DirectoryReader.h"

namespace tarvel {

// The tree of folders and files the user picks from. One top-level item, the root folder "/";
// below it folders and files, read from the disk when their parent is expanded and read again
// at every expansion. An item that may hold something carries one placeholder child (empty
// text) so that it shows an expand button; collapsing an item puts it back to that placeholder.
//
// Items keep their raw name bytes beside the text they show, so a name that is not valid UTF-8
// still leads to its file. Item data (`kFolderRole`) is 1 for a folder item and 0 otherwise.
class FolderTree : public QTreeWidget {
  Q_OBJECT

 public:
  static constexpr int kFolderRole = Qt::UserRole;
  static constexpr int kNameRole = Qt::UserRole + 1;  // QByteArray: the raw name; "/" for the root

  explicit FolderTree(QWidget* parent = nullptr);

  // Empties the tree and puts the root folder in it.
  void initTree(bool showFiles);
  // Opens the tree down to `path` (absolute, "" or "/" for the root) and selects its item,
  // opened too. False when the folder is missing or a component is not in the tree.
  bool selectPath(const std::string& path);
  // The full path of an item, from the raw names: "" for the root and for no item at all; a
  // placeholder gives its parent's path.
  std::string getItemPath(const QTreeWidgetItem* item) const;

  void insertDrives();
  // Puts the subfolders, then (with files shown) the files of `folderPath` under `parent`, each
  // group in the program's name order.
  void fillFolder(QTreeWidgetItem* parent, const std::string& folderPath);
  // Inserts a top-level item for `path`; the items below come in batches, from fillFolder.
  QTreeWidgetItem* insertPathItem(const std::string& path);
  static std::string_view lastPathComponent(std::string_view path);
  // Whether `fillFolder` would show anything: a folder (hidden or not), or a file that is not
  // hidden when files are shown.
  bool hasSubItems(const std::string& folderPath) const;
  void onFolderExpanded(QTreeWidgetItem* item, bool expanded);
  void reloadOnExpand(QTreeWidgetItem* item);
  // The child of `parent` (the top level when null) whose raw name is `text`; the root's is "".
  QTreeWidgetItem* findChildByText(QTreeWidgetItem* parent, std::string_view text) const;
  bool isPathInTree(const std::string& path) const;

  static QByteArray rawName(const QTreeWidgetItem* item);
  static bool isFolderItem(const QTreeWidgetItem* item);

 private:
  QTreeWidgetItem* makePathItem(const std::string& path, bool topLevel, bool isFolder);
  // Whether the open folder `folder` (-1: none) holds what `fillFolder` would show.
  bool holdsSomething(int folder) const;
  static void addPlaceholder(QTreeWidgetItem* item);
  void removeChildren(QTreeWidgetItem* item);

  bool showFiles_ = false;
  ItemIcons icons_;
  // One reader, and its buffer, for every folder the tree reads: opening a folder of 1,000
  // subfolders asks each of them whether it holds something.
  mutable DirectoryReader reader_;
};

}  // namespace tarvel
