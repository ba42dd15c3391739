#include "app/PaneText.h"

#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstddef>

namespace tarvel {

namespace {

constexpr int kLinesPerParagraph = 32;
// Decoded a quarter of a megabyte at a time: the buffer of UTF-16 beside the document stays
// half a megabyte, and the document pays little more per insertion.
constexpr std::size_t kDecodedBytes = std::size_t{256} << 10;

}  // namespace

void showInPane(QPlainTextEdit* editor, std::string_view report) {
  editor->document()->setUndoRedoEnabled(false);
  QTextCursor cursor(editor->document());
  // A byte order mark that opens the report is a name's first character, kept as any other.
  QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  QString text;
  int line = 0;
  while (!report.empty()) {
    const std::string_view piece = report.substr(0, kDecodedBytes);
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
    const bool first = cursor.position() == 0;
    cursor.insertText(text);
    // The editor's own cursor, moved along by the first piece, goes back to the start and
    // stays there: at the end, it would have the editor lay out the last paragraph each time.
    if (first) editor->setTextCursor(QTextCursor(editor->document()));
  }
  editor->document()->setUndoRedoEnabled(true);
  editor->setTextCursor(QTextCursor(editor->document()));  // which also scrolls to the start
}

QByteArray editorText(const QPlainTextEdit* editor) {
  const QTextDocument* document = editor->document();
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
