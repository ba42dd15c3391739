#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

class QAbstractScrollArea;
class QMimeData;

namespace tarvel {

// Folders and files dropped from a file manager. A drag of one local file (a text/uri-list of
// one file:// URL) over a watched widget is taken, as a copy, and its path handed to `open`. A
// drag of several items or of a remote URL, or any drag while `busy` says so, is refused, so
// the cursor shows that it would not be taken. Drags that carry no URL list are the widget's
// own (text dropped into the pane).
class PathDropTarget : public QObject {
 public:
  PathDropTarget(std::function<bool()> busy, std::function<void(const std::string&)> open,
                 QObject* parent);

  void watch(QAbstractScrollArea* area);

  // The path a drag's data names when it names exactly one file of this machine, raw bytes as
  // the URL's escapes give them.
  static std::optional<std::string> localPath(const QMimeData& data);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<bool()> busy_;
  std::function<void(const std::string&)> open_;
};

}  // namespace tarvel
