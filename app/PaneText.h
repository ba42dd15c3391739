#pragma once

#include <QByteArray>
#include <functional>
#include <string_view>

class QPlainTextEdit;

namespace tarvel {

// Puts the report in the pane in place of what it held, shown from its first line. Line ends
// become LF, as the pane and the clipboard want them; and lines go into the pane's document
// thirty-two to a paragraph, joined by Unicode line separators. A document pays for every
// paragraph (about two microseconds each), so one paragraph per line would make a
// 5,000,000-character report take a fifth of a second to show; in groups it takes a hundredth.
// The pane shows, scrolls and edits them as separate lines, and its text (copied, or read back)
// has LF between every two lines.
//
// The report goes in a piece at a time: the document keeps its own copy of the text, and one
// piece of UTF-16 beside it costs far less memory than the whole report converted at once.
// `betweenPieces` runs after each piece (the window paints and takes input then); when it
// returns false, the rest of the report is left out. The pane is read-only meanwhile.
void showInPane(QPlainTextEdit* pane, std::string_view report,
                const std::function<bool()>& betweenPieces = {});

// The pane's text exactly as it shows it, the user's edits included, in UTF-8 with LF between
// lines. (The document's own plain text turns no-break spaces into spaces.)
QByteArray paneText(const QPlainTextEdit* pane);

}  // namespace tarvel
