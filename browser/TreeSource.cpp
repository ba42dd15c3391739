#include "browser/TreeSource.h"

namespace tarvel {

void TreeSource::readFolder(const FolderToRead& folder, bool /*wantSizes*/,
                            FolderContents& contents) {
  const auto* item = static_cast<const QTreeWidgetItem*>(folder.item);
  for (int i = 0; i < item->childCount(); ++i) {
    const QTreeWidgetItem* child = item->child(i);
    const QByteArray name = FolderTree::rawName(child);
    if (name.isEmpty()) continue;  // a placeholder
    const std::string_view raw(name.constData(), static_cast<std::size_t>(name.size()));
    if (FolderTree::isFolderItem(child)) {
      contents.addFolder(raw, true, child);
    } else {
      contents.addFile(raw);
    }
  }
}

SelectedItem selectedItemOf(const FolderTree& tree, const QTreeWidgetItem* item) {
  SelectedItem selected;
  const QByteArray raw = FolderTree::rawName(item);
  selected.text.assign(raw.constData(), static_cast<std::size_t>(raw.size()));
  selected.path = tree.getItemPath(item);
  const bool isFolder = item->parent() == nullptr || FolderTree::isFolderItem(item);
  selected.kind = isFolder ? ItemKind::Folder : ItemKind::File;
  selected.item = item;
  return selected;
}

}  // namespace tarvel
