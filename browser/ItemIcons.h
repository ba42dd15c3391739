#pragma once

#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <string_view>

namespace tarvel {

// The icons of the folder tree's items, made once per kind and per file type: opening a folder
// of 100,000 files asks for a handful of icons, not 100,000. Each icon shows its "open" form
// when its item is selected, as a folder opens when it is picked.
class ItemIcons {
 public:
  const QIcon& root();
  const QIcon& folder();
  // By the file's type as its name tells it (the part after the last "."), never by reading it.
  const QIcon& file(std::string_view name);

 private:
  static QIcon withSelectedForm(const QIcon& normal, const QIcon& selected);

  QFileIconProvider provider_;
  QMimeDatabase mimeTypes_;
  QIcon root_;
  QIcon folder_;
  QHash<QByteArray, QIcon> files_;  // by lower-cased extension; "" for names without one
};

}  // namespace tarvel
