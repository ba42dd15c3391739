#include "app/PaneText.h"

#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "listing/LineEnd.h"

namespace tarvel {

namespace {

constexpr int kLinesPerParagraph = 32;

}  // namespace

void showInPane(QPlainTextEdit* pane, std::string_view report,
                const std::function<bool()>& betweenPieces) {
  QTextDocument* document = pane->document();
  pane->clear();
  // The user's typing would land among the pieces.
  const bool readOnly = pane->isReadOnly();
  pane->setReadOnly(true);
  document->setUndoRedoEnabled(false);  // no undo history as big as the report
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  // One buffer for every piece, so that pieces cost no fresh memory each. A byte order mark
  // that opens the report is a name's first character, kept as any other.
  QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  QString text;
  int line = 0;
  while (!report.empty()) {
    // Any cut will do: the decoder carries a character cut in two over to the next piece.
    const std::string_view piece = report.substr(0, kReportPieceBytes);
    report.remove_prefix(piece.size());
    text.resize(fromUtf8.requiredSpace(static_cast<qsizetype>(piece.size())));
    QChar* const start = text.data();
    const QChar* const end = fromUtf8.appendToBuffer(
        start, QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size())));
    // In place: CRs go, and all but every thirty-second LF become line separators.
    QChar* out = start;
    for (const QChar* in = start; in != end; ++in) {
      if (*in == QLatin1Char('\r')) continue;
      if (*in == QLatin1Char('\n') && ++line % kLinesPerParagraph != 0) {
        *out++ = QChar::LineSeparator;
      } else {
        *out++ = *in;
      }
    }
    text.truncate(out - start);
    cursor.insertText(text);
    if (betweenPieces && !betweenPieces()) break;
  }
  cursor.endEditBlock();
  document->setUndoRedoEnabled(true);
  pane->setReadOnly(readOnly);
  pane->setTextCursor(QTextCursor(document));  // which also scrolls the view to the start
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
