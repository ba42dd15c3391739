#include "listing/ReportBoxes.h"

#include <cinttypes>
#include <cstdio>

#include "platform/TextRules.h"

namespace {

constexpr std::string_view kTopRule = "/---------------------------------\\\r\n";
constexpr std::string_view kTitle = "|        Liste de fichiers        |\r\n";
constexpr std::string_view kCredit = "| générée par Tarvelinquistombrel |\r\n";
constexpr std::string_view kBottomRule = "\\---------------------------------/\r\n";
constexpr std::size_t kDateLineWidth = 34;  // before the closing bar

void appendCountLine(std::string& report, const char* label, std::int64_t count) {
  char line[96];
  std::snprintf(line, sizeof line, "| %s: %6" PRId64 "      |\r\n", label, count);
  report.append(line);
}

}  // namespace

void appendHeaderBox(std::string& report, std::string_view dateText) {
  report.append(kTopRule);
  report.append(kTitle);
  report.append(kCredit);
  const std::size_t lineStart = report.size();
  report.append("| Date : ");
  report.append(dateText);
  std::size_t width = text::characterCount(std::string_view(report).substr(lineStart));
  for (; width < kDateLineWidth; ++width) report.push_back(' ');
  report.append("|\r\n");
  report.append(kBottomRule);
}

void appendFooterBox(std::string& report, std::int64_t fileCount, std::int64_t folderCount) {
  report.append(kTopRule);
  report.append(kTitle);
  report.append(kCredit);
  appendCountLine(report, "Nombre de fichiers", fileCount);
  appendCountLine(report, "Nombre de dossiers", folderCount);
  report.append(kBottomRule);
}
