#pragma once

#include "browser/FolderTree.h"
#include "listing/EntrySource.h"

namespace tarvel {

// The walk's entries taken from what the folder tree holds: an item's children in the tree's
// order, placeholders skipped, folders by their item data. Only opened folders have children
// there, so a collapsed folder lists nothing below it. The tree knows no sizes.
class TreeSource final : public EntrySource {
 public:
  bool providesSizes() const override { return false; }
  bool keepsItsOrder() const override { return true; }
  void readFolder(const FolderToRead& folder, bool wantSizes, FolderContents& contents) override;
};

// The listing's view of a tree item: its raw text, its path and its kind. The root and folder
// items are folders; every other item is a file.
SelectedItem selectedItemOf(const FolderTree& tree, const QTreeWidgetItem* item);

}  // namespace tarvel
