#include "app/PaneFiller.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <cstddef>

namespace tarvel {

namespace {

constexpr int kLinesPerParagraph = 32;
// Decoded a quarter of a megabyte at a time: the buffer of UTF-16 beside the document stays
// half a megabyte, and the document pays little more per insertion.
constexpr std::size_t kDecodedBytes = std::size_t{256} << 10;

}  // namespace

PaneFiller::PaneFiller(QPlainTextEdit* pane) : pane_(pane) {
  pane->clear();
  wasReadOnly_ = pane->isReadOnly();
  pane->setReadOnly(true);
  pane->document()->setUndoRedoEnabled(false);
  cursor_ = QTextCursor(pane->document());
}

PaneFiller::~PaneFiller() {
  finish();
}

void PaneFiller::append(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::string_view piece = bytes.substr(0, kDecodedBytes);
    bytes.remove_prefix(piece.size());
    appendPiece(piece);
  }
}

void PaneFiller::appendPiece(std::string_view piece) {
  if (finished_ || pane_ == nullptr) return;
  text_.resize(fromUtf8_.requiredSpace(static_cast<qsizetype>(piece.size())));
  QChar* const start = text_.data();
  const QChar* const end = fromUtf8_.appendToBuffer(
      start, QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size())));
  // In place: CRs go, and all but every thirty-second LF become line separators.
  QChar* out = start;
  for (const QChar* in = start; in != end; ++in) {
    if (*in == QLatin1Char('\r')) continue;
    if (*in == QLatin1Char('\n') && ++line_ % kLinesPerParagraph != 0) {
      *out++ = QChar::LineSeparator;
    } else {
      *out++ = *in;
    }
  }
  text_.truncate(out - start);
  const bool first = cursor_.position() == 0;
  cursor_.insertText(text_);
  // The pane's own cursor, moved along by the first piece, goes back to the start and stays
  // there: at the end, it would have the pane lay out the last paragraph at every piece.
  if (first) pane_->setTextCursor(QTextCursor(pane_->document()));
}

void PaneFiller::finish() {
  if (finished_) return;
  finished_ = true;
  text_ = QString();
  if (pane_ == nullptr) return;
  pane_->document()->setUndoRedoEnabled(true);
  pane_->setReadOnly(wasReadOnly_);
  pane_->setTextCursor(QTextCursor(pane_->document()));  // which also scrolls to the start
}

}  // namespace tarvel
