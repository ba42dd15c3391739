#pragma once

#include <QPointer>
#include <QString>
#include <QStringDecoder>
#include <QTextCursor>
#include <string_view>

class QPlainTextEdit;

namespace tarvel {

// Puts a report into the pane in place of what it held, a piece at a time as the report comes,
// shown from its first line. Line ends become LF, as the pane and the clipboard want them; and
// lines go into the pane's document thirty-two to a paragraph, joined by Unicode line
// separators. A document pays for every paragraph (about two microseconds each), so one
// paragraph per line would make a 5,000,000-character report take a fifth of a second to show;
// in groups it takes a hundredth. The pane shows, scrolls and edits them as separate lines, and
// its text (copied, or read back) has LF between every two lines.
//
// Each piece is decoded into one reused buffer: the document keeps its own copy of the text,
// and one piece of UTF-16 beside it costs far less memory than the whole report converted at
// once. From the first piece to `finish` the pane is read-only (the user's typing would land
// among the pieces) and keeps no undo history (none as big as the report).
class PaneFiller {
 public:
  explicit PaneFiller(QPlainTextEdit* pane);
  ~PaneFiller();
  PaneFiller(const PaneFiller&) = delete;
  PaneFiller& operator=(const PaneFiller&) = delete;

  // Any cut between pieces will do: a character cut in two is carried over to the next one.
  void append(std::string_view bytes);
  // The pane takes input again, shown from its first line. Once only; the destructor calls it.
  void finish();

 private:
  void appendPiece(std::string_view piece);

  QPointer<QPlainTextEdit> pane_;
  QTextCursor cursor_;
  // A byte order mark that opens the report is a name's first character, kept as any other.
  QStringDecoder fromUtf8_{QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom};
  QString text_;
  int line_ = 0;
  bool wasReadOnly_ = false;
  bool finished_ = false;
};

}  // namespace tarvel
