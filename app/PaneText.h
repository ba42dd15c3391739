#pragma once

#include <QByteArray>
#include <string_view>

class QPlainTextEdit;

namespace tarvel {

// Puts a whole report in a new, empty editor, shown from its first line. Line ends become LF,
// as the pane and the clipboard want them; and lines go into the document thirty-two to a
// paragraph, joined by Unicode line separators. A document pays for every paragraph (about two
// microseconds each), so one paragraph per line would make a 5,000,000-character report take a
// fifth of a second to show; in groups it takes a hundredth.
// The editor shows, scrolls and edits them as separate lines, and its text (copied, or read
// back) has LF between every two lines. The report is decoded a piece at a time into one
// reused buffer, and no undo history is kept of it (none as big as the report).
void showInPane(QPlainTextEdit* editor, std::string_view report);

// The editor's text exactly as it shows it, the user's edits included, in UTF-8 with LF
// between lines. (The document's own plain text turns no-break spaces into spaces.)
QByteArray editorText(const QPlainTextEdit* editor);

}  // namespace tarvel
