#include "app/PaneText.h"

namespace tarvel {

namespace {
constexpr int kLinesPerParagraph = 32;
}  // namespace

QString paneText(const std::string& report) {
  QString text = QString::fromUtf8(report.data(), static_cast<qsizetype>(report.size()));
  // In place: CRs go, and all but every thirty-second LF become line separators.
  QChar* out = text.data();
  int line = 0;
  for (const QChar c : std::as_const(text)) {
    if (c == QLatin1Char('\r')) continue;
    if (c == QLatin1Char('\n') && ++line % kLinesPerParagraph != 0) {
      *out++ = QChar::LineSeparator;
    } else {
      *out++ = c;
    }
  }
  text.truncate(out - text.constData());
  return text;
}

}  // namespace tarvel
