#include "listing/ReportBoxes.h"

#include <cinttypes>
#include <cstdio>

#include "listing/LineEnd.h"
#include "platform/TextRules.h"

namespace tarvel {

namespace {

constexpr std::string_view kTopRule = "/---------------------------------\\";
constexpr std::string_view kTitle = "|        Liste de fichiers        |";
constexpr std::string_view kCredit = "| générée par Tarvelinquistombrel |";
constexpr std::string_view kBottomRule = "\\---------------------------------/";
constexpr std::size_t kDateLineWidth = 34;  // before the closing bar

void appendLine(std::string& report, std::string_view line) {
  report.append(line);
  report.append(kLineEnd);
}

void appendBoxTop(std::string& report) {
  appendLine(report, kTopRule);
  appendLine(report, kTitle);
  appendLine(report, kCredit);
}

void appendCountLine(std::string& report, const char* label, std::int64_t count) {
  char line[96];
  std::snprintf(line, sizeof line, "| %s: %6" PRId64 "      |", label, count);
  appendLine(report, line);
}

}  // namespace

void appendHeaderBox(std::string& report, std::string_view dateText) {
  appendBoxTop(report);
  const std::size_t lineStart = report.size();
  report.append("| Date : ");
  report.append(dateText);
  std::size_t width = characterCount(std::string_view(report).substr(lineStart));
  for (; width < kDateLineWidth; ++width) report.push_back(' ');
  appendLine(report, "|");
  appendLine(report, kBottomRule);
}

void appendFooterBox(std::string& report, std::int64_t fileCount, std::int64_t folderCount) {
  appendBoxTop(report);
  appendCountLine(report, "Nombre de fichiers", fileCount);
  appendCountLine(report, "Nombre de dossiers", folderCount);
  appendLine(report, kBottomRule);
}

}  // namespace tarvel
