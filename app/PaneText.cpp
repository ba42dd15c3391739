#include "app/PaneText.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include "app/PaneFiller.h"

namespace tarvel {

void showInPane(QPlainTextEdit* pane, std::string_view report) {
  PaneFiller(pane).append(report);
}

QByteArray paneText(const QPlainTextEdit* pane) {
  const QTextDocument* document = pane->document();
  QByteArray text;
  text.reserve(document->characterCount());  // the size of a text in ASCII
  // A block at a time: the whole text in UTF-16 at once would cost twice its size again.
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    if (block != document->begin()) text += '\n';
    QString lines = block.text();
    lines.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text += lines.toUtf8();
  }
  return text;
}

}  // namespace tarvel
