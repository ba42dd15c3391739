#pragma once

#include <QString>
#include <string>

namespace tarvel {

// The report as the pane holds it. Line ends become LF, as the pane and the clipboard want
// them; and lines go into the pane's document thirty-two to a paragraph, joined by Unicode line
// separators. A document pays for every paragraph (about two microseconds each), so one
// paragraph per line would make a 5,000,000-character report take a fifth of a second to show;
// in groups it takes a hundredth. The pane shows, scrolls and edits them as separate lines,
// and its text (copied, or read back) has LF between every two lines.
QString paneText(const std::string& report);

}  // namespace tarvel
