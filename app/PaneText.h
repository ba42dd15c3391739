#pragma once

#include <QByteArray>
#include <string_view>

class QPlainTextEdit;

namespace tarvel {

// Puts a whole report in the pane in place of what it held, as PaneFiller does.
void showInPane(QPlainTextEdit* pane, std::string_view report);

// The pane's text exactly as it shows it, the user's edits included, in UTF-8 with LF between
// lines. (The document's own plain text turns no-break spaces into spaces.)
QByteArray paneText(const QPlainTextEdit* pane);

}  // namespace tarvel
