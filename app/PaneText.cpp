#include "app/PaneText.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace tarvel {

namespace {

constexpr int kLinesPerParagraph = 32;
constexpr std::size_t kPieceBytes = 1 << 20;

// The first piece of `report`: about kPieceBytes, ended after a line end where there is one,
// and never inside a UTF-8 character.
std::string_view firstPiece(std::string_view report) {
  if (report.size() <= kPieceBytes) return report;
  std::size_t end = report.rfind('\n', kPieceBytes - 1);
  if (end != std::string_view::npos) return report.substr(0, end + 1);
  end = kPieceBytes;
  while (end > 0 && (static_cast<unsigned char>(report[end]) & 0xC0) == 0x80) --end;
  return report.substr(0, end);
}

}  // namespace

void showInPane(QPlainTextEdit* pane, std::string_view report,
                const std::function<void()>& betweenPieces) {
  QTextDocument* document = pane->document();
  pane->clear();
  document->setUndoRedoEnabled(false);  // no undo history as big as the report
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  int line = 0;
  while (!report.empty()) {
    const std::string_view piece = firstPiece(report);
    report.remove_prefix(piece.size());
    QString text = QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
    // In place: CRs go, and all but every thirty-second LF become line separators.
    QChar* out = text.data();
    for (const QChar c : std::as_const(text)) {
      if (c == QLatin1Char('\r')) continue;
      if (c == QLatin1Char('\n') && ++line % kLinesPerParagraph != 0) {
        *out++ = QChar::LineSeparator;
      } else {
        *out++ = c;
      }
    }
    text.truncate(out - text.constData());
    cursor.insertText(text);
    if (betweenPieces) betweenPieces();
  }
  cursor.endEditBlock();
  document->setUndoRedoEnabled(true);
  pane->setTextCursor(QTextCursor(document));
  pane->verticalScrollBar()->setValue(0);
  pane->horizontalScrollBar()->setValue(0);
}

}  // namespace tarvel
