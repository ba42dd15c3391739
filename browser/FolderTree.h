#pragma once

#include <QTreeWidget>
#include <string>
#include <string_view>

#include "browser/ItemIcons.h"
#include "platform/DirectoryStream.h"

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
  void initTree();
  // Opens the tree down to `path` (absolute, "" or "/" for the root) and selects its item: a
  // folder, opened too, or a file. False when nothing is there or a component is not in the tree.
  [[nodiscard]] bool selectPath(const std::string& path);
  // The full path of an item, from the raw names: "" for the root and for no item at all; a
  // placeholder gives its parent's path.
  std::string getItemPath(const QTreeWidgetItem* item) const;
  // The child of `parent` (the top level when null) whose raw name is `text`; the root's is "".
  QTreeWidgetItem* findChildByText(QTreeWidgetItem* parent, std::string_view text) const;

  static QByteArray rawName(const QTreeWidgetItem* item);
  static bool isFolderItem(const QTreeWidgetItem* item);

 private:
  // The root's item, with an expand button when it holds something; the items below come in
  // batches, from fillFolder.
  void insertRoot();
  // Puts the subfolders, then the files of `folderPath` under `parent`, each group in the
  // program's name order.
  void fillFolder(QTreeWidgetItem* parent, const std::string& folderPath);
  void onFolderExpanded(QTreeWidgetItem* item, bool expanded);
  // An item that shows the raw name `raw` (a folder's own name, or "/" for the root).
  QTreeWidgetItem* makeItem(std::string_view raw, const QIcon& icon);
  // Whether the open folder `folder` (-1: none) holds what `fillFolder` would show: a folder
  // (hidden or not), or a file that is not hidden.
  bool holdsSomething(int folder) const;
  static void addPlaceholder(QTreeWidgetItem* item);

  ItemIcons icons_;
  // One stream, and its buffer, for every folder the tree reads: opening a folder of 1,000
  // subfolders asks each of them whether it holds something.
  mutable DirectoryStream stream_;
};

}  // namespace tarvel
