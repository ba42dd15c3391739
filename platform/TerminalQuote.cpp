#include "platform/TerminalQuote.h"

#include <cstdio>

#include "platform/TextRules.h"

namespace tarvel {

namespace {

void appendEscape(std::string& out, const char* format, unsigned value) {
  char escape[12];
  const int length = std::snprintf(escape, sizeof escape, format, value);
  out.append(escape, static_cast<std::size_t>(length));
}

}  // namespace

std::string quotePath(std::string_view path) {
  std::string out = "« ";
  for (std::size_t i = 0; i < path.size();) {
    char32_t c = 0;
    const std::size_t length = decodeCharacter(path, i, c);
    if (c == '\\') {
      out.append("\\\\");
    } else if (c == '\n') {
      out.append("\\n");
    } else if (c == '\t') {
      out.append("\\t");
    } else if (c == '\r') {
      out.append("\\r");
    } else if (c < 0x20 || c == 0x7F) {
      appendEscape(out, "\\x%02X", static_cast<unsigned>(c));
    } else if (c >= kInvalidByteBase + 0x80 && c <= kInvalidByteBase + 0xFF) {
      appendEscape(out, "\\x%02X", static_cast<unsigned>(c - kInvalidByteBase));
    } else if ((c >= 0x80 && c <= 0x9F) || isLineBreakCharacter(c)) {
      appendEscape(out, "\\u%04X", static_cast<unsigned>(c));
    } else {
      out.append(path.substr(i, length));
    }
    i += length;
  }
  out.append(" »");
  return out;
}

}  // namespace tarvel
