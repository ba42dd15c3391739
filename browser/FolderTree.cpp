#include "browser/FolderTree.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QApplication>
#include <QHeaderView>
#include <algorithm>
#include <vector>

#include "listing/NameOrder.h"
#include "platform/DirectoryStream.h"
#include "platform/OpenFolder.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"
#include "platform/TextRules.h"

namespace tarvel {

namespace {

std::string_view view(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QByteArray bytes(std::string_view text) {
  return {text.data(), static_cast<qsizetype>(text.size())};
}

// What a user sees of a raw name: control characters as "?", invalid UTF-8 as U+FFFD.
QString displayText(std::string_view raw) {
  std::string shown(raw);
  escapeControls(shown);
  return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

// Drawing of the tree stops, and the wait cursor shows, while many items go in at once. The
// tree's former drawing state comes back after, so nested insertions leave it as they found it.
[[nodiscard]] auto bulkInsertion(QWidget* widget) {
  const bool wasDrawing = widget->updatesEnabled();
  widget->setUpdatesEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  return ScopeExit{[widget, wasDrawing] {
    QApplication::restoreOverrideCursor();
    widget->setUpdatesEnabled(wasDrawing);
  }};
}

// A link is an item of its own, even one that leads nowhere.
bool isOnDisk(const std::string& path) {
  struct stat info {};
  return statPath(displayPath(path), info, false);
}

}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent) {
  // Qt's defaults serve as they are: one column, one item selected at a time, no sorting
  // (items keep the listing's order), open and close buttons down to the root.
  setHeaderHidden(true);
  // A screen reader still reads the hidden header: Qt's default names the column "1".
  setHeaderLabel(QStringLiteral("Nom"));
  // Every row has the same height; without this a folder of 100,000 files is slow to show.
  setUniformRowHeights(true);
  // Names are never cut: the one column is as wide as the widest item shown, and the tree
  // scrolls sideways to it.
  setTextElideMode(Qt::ElideNone);
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  // Qt reports expansions made by code as well as by the user, as the tree needs.
  connect(this, &QTreeWidget::itemExpanded, this,
          [this](QTreeWidgetItem* item) { onFolderExpanded(item, true); });
  connect(this, &QTreeWidget::itemCollapsed, this,
          [this](QTreeWidgetItem* item) { onFolderExpanded(item, false); });
}

void FolderTree::initTree() {
  setEditTriggers(NoEditTriggers);  // names are never edited in place
  insertRoot();
}

void FolderTree::insertRoot() {
  clear();
  QTreeWidgetItem* root = makeItem(kRootText, icons_.root());
  addTopLevelItem(root);
  const FileDescriptor folder(openFolderPath(kRootText));
  if (holdsSomething(folder.get())) addPlaceholder(root);
}

QTreeWidgetItem* FolderTree::makeItem(std::string_view raw, const QIcon& icon) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, displayText(raw));
  item->setData(0, kNameRole, bytes(raw));
  item->setIcon(0, icon);
  return item;
}

void FolderTree::addPlaceholder(QTreeWidgetItem* item) {
  item->addChild(new QTreeWidgetItem);
}

bool FolderTree::holdsSomething(int folder) const {
  stream_.start(folder);  // a folder that could not be opened holds nothing to show
  DirectoryEntry entry;
  bool found = false;
  while (!found && stream_.next(entry)) found = entry.isFolder || !entry.isHidden;
  return found;
}

void FolderTree::fillFolder(QTreeWidgetItem* parent, const std::string& folderPath) {
  std::vector<std::string> folders;
  std::vector<std::string> files;
  DirectoryEntry entry;
  // The folder is reached as the user opened it, links the user chose included; its
  // subfolders are looked into relative to it, so no depth is too deep to show.
  const FileDescriptor folder(openFolderPath(displayPath(folderPath)));
  stream_.start(folder.get());
  while (stream_.next(entry)) {
    if (entry.isFolder) {
      folders.emplace_back(entry.name);
    } else {
      files.emplace_back(entry.name);  // hidden files too
    }
  }
  std::sort(folders.begin(), folders.end(), precedesInListing);
  std::sort(files.begin(), files.end(), precedesInListing);

  const auto bulk = bulkInsertion(this);
  QList<QTreeWidgetItem*> items;
  for (const std::string& name : folders) {
    QTreeWidgetItem* item = makeItem(name, icons_.folder());
    item->setData(0, kFolderRole, 1);
    // A link to a folder shows as one, and its button says whether its target holds anything.
    const FileDescriptor subfolder(
        ::openat(folder.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (holdsSomething(subfolder.get())) addPlaceholder(item);
    items.append(item);
  }
  for (const std::string& name : files) {
    items.append(makeItem(name, icons_.file(name)));
  }
  // One insertion for the whole folder: the view lays itself out once, not once per item.
  parent->addChildren(items);
}

void FolderTree::onFolderExpanded(QTreeWidgetItem* item, bool expanded) {
  // Qt also reports opening an item that holds nothing; such an item has nothing to show.
  if (expanded && item->childCount() == 0) return;
  qDeleteAll(item->takeChildren());
  // Collapsing forgets what was read; the next expansion reads the folder afresh.
  if (expanded) {
    fillFolder(item, getItemPath(item));
  } else {
    addPlaceholder(item);
  }
}

std::string FolderTree::getItemPath(const QTreeWidgetItem* item) const {
  std::vector<const QTreeWidgetItem*> levels;
  for (const QTreeWidgetItem* level = item; level != nullptr; level = level->parent()) {
    levels.push_back(level);
  }
  // The top-level item is the root, whose path is "" whatever it shows; a placeholder adds
  // nothing.
  std::string result;
  for (auto level = levels.rbegin() + (levels.empty() ? 0 : 1); level != levels.rend(); ++level) {
    const QByteArray raw = rawName(*level);
    if (!raw.isEmpty()) appendPathComponent(result, view(raw));
  }
  return result;
}

QTreeWidgetItem* FolderTree::findChildByText(QTreeWidgetItem* parent, std::string_view text) const {
  const int count = parent ? parent->childCount() : topLevelItemCount();
  for (int i = 0; i < count; ++i) {
    QTreeWidgetItem* child = parent ? parent->child(i) : topLevelItem(i);
    const QByteArray raw = rawName(child);
    std::string_view name = view(raw);
    if (name.ends_with(kSeparator)) name.remove_suffix(1);
    if (name == text) return child;
  }
  return nullptr;
}

bool FolderTree::selectPath(const std::string& path) {
  const std::string target = normalizeAbsolute(path, "");
  // One root, "/", holds every absolute path: only the disk can say the item is missing.
  if (!isOnDisk(target)) return false;

  // The root's empty name first, then each folder's name.
  std::vector<std::string_view> components{std::string_view{}};
  for (const std::string_view name : pathNames(target)) components.push_back(name);

  const auto bulk = bulkInsertion(this);
  QTreeWidgetItem* current = nullptr;
  for (const std::string_view component : components) {
    QTreeWidgetItem* found = findChildByText(current, component);
    if (found == nullptr) return false;
    // An item already open is closed first, so that opening it reads its folder afresh.
    if (found->isExpanded()) found->setExpanded(false);
    if (found->childCount() > 0) found->setExpanded(true);
    current = found;
  }
  setCurrentItem(current);
  return true;
}

QByteArray FolderTree::rawName(const QTreeWidgetItem* item) {
  return item->data(0, kNameRole).toByteArray();
}

bool FolderTree::isFolderItem(const QTreeWidgetItem* item) {
  return item->data(0, kFolderRole).toInt() == 1;
}

}  // namespace tarvel
