#include "app/PathDropTarget.h"

#include <unistd.h>

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <utility>

namespace tarvel {

namespace {

// A file URL names this machine's files when its host is empty, "localhost" or this machine.
bool isThisMachine(const QString& host) {
  if (host.isEmpty() || host == QLatin1String("localhost")) return true;
  char name[256] = {};
  return ::gethostname(name, sizeof name - 1) == 0 &&
         host.compare(QString::fromLocal8Bit(name), Qt::CaseInsensitive) == 0;
}

// A copy, or a link: never a move, after which a file manager may delete what it gave.
Qt::DropAction harmlessAction(Qt::DropActions possible) {
  if (possible & Qt::CopyAction) return Qt::CopyAction;
  if (possible & Qt::LinkAction) return Qt::LinkAction;
  return Qt::IgnoreAction;
}

}  // namespace

PathDropTarget::PathDropTarget(std::function<bool()> busy,
                               std::function<void(const std::string&)> open, QObject* parent)
    : QObject(parent), busy_(std::move(busy)), open_(std::move(open)) {}

void PathDropTarget::watch(QAbstractScrollArea* area) {
  // Drags reach the viewport, which hands them to the widget: seen here first.
  area->viewport()->setAcceptDrops(true);
  area->viewport()->installEventFilter(this);
}

std::optional<std::string> PathDropTarget::localPath(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.size() != 1) return std::nullopt;
  const QUrl& url = urls.constFirst();
  if (url.scheme() != QLatin1String("file") || !isThisMachine(url.host()) || url.hasQuery() ||
      url.hasFragment()) {
    return std::nullopt;
  }
  // From the escapes, not from the decoded text: a name that is not UTF-8 keeps its bytes.
  const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  if (!path.startsWith('/') || path.contains('\0')) return std::nullopt;
  return path.toStdString();
}

bool PathDropTarget::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
    return QObject::eventFilter(watched, event);
  }
  auto* drag = static_cast<QDropEvent*>(event);
  if (!drag->mimeData()->hasUrls()) return false;
  const std::optional<std::string> path = localPath(*drag->mimeData());
  const Qt::DropAction action = harmlessAction(drag->possibleActions());
  if (!path || action == Qt::IgnoreAction || busy_()) {
    drag->ignore();
    return true;
  }
  drag->setDropAction(action);
  drag->accept();
  if (type == QEvent::Drop) {
    // Once the drop is over: opening folders takes a while, and the file manager waits for the
    // drop's end.
    QMetaObject::invokeMethod(
        this,
        [this, opened = *path] {
          if (!busy_()) open_(opened);
        },
        Qt::QueuedConnection);
  }
  return true;
}

}  // namespace tarvel
