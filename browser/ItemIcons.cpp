#include "browser/ItemIcons.h"

#include <QApplication>
#include <QStyle>

#include "platform/PathRules.h"

namespace tarvel {

namespace {

// The platform's icon for a kind, or the style's own when the platform has none (as under a
// bare offscreen or X server without an icon theme).
QIcon orStyleIcon(const QIcon& icon, QStyle::StandardPixmap fallback) {
  return icon.isNull() ? QApplication::style()->standardIcon(fallback) : icon;
}

}  // namespace

QIcon ItemIcons::withSelectedForm(const QIcon& normal, const QIcon& selected) {
  QIcon combined;
  for (const int side : {16, 32}) {
    combined.addPixmap(normal.pixmap(side), QIcon::Normal);
    combined.addPixmap(selected.pixmap(side), QIcon::Selected);
  }
  return combined;
}

const QIcon& ItemIcons::root() {
  if (root_.isNull()) {
    const QIcon drive =
        orStyleIcon(provider_.icon(QAbstractFileIconProvider::Drive), QStyle::SP_DriveHDIcon);
    root_ = withSelectedForm(drive, drive);
  }
  return root_;
}

const QIcon& ItemIcons::folder() {
  if (folder_.isNull()) {
    const QIcon closed =
        orStyleIcon(provider_.icon(QAbstractFileIconProvider::Folder), QStyle::SP_DirClosedIcon);
    const QIcon open =
        orStyleIcon(QIcon::fromTheme(QStringLiteral("folder-open")), QStyle::SP_DirOpenIcon);
    folder_ = withSelectedForm(closed, open);
  }
  return folder_;
}

const QIcon& ItemIcons::file(std::string_view name) {
  const std::string_view extension = splitExtension(name).extension;
  const QByteArray key =
      QByteArray(extension.data(), static_cast<qsizetype>(extension.size())).toLower();
  if (const auto found = files_.constFind(key); found != files_.constEnd()) return *found;

  QIcon icon;
  if (!key.isEmpty()) {
    const QMimeType type = mimeTypes_.mimeTypeForFile(QStringLiteral("x.") + QString::fromUtf8(key),
                                                      QMimeDatabase::MatchExtension);
    icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
  }
  if (icon.isNull()) {
    icon = orStyleIcon(provider_.icon(QAbstractFileIconProvider::File), QStyle::SP_FileIcon);
  }
  return *files_.insert(key, withSelectedForm(icon, icon));
}

}  // namespace tarvel
