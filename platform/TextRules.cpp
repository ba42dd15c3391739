#include "platform/TextRules.h"

#include <locale.h>
#include <wchar.h>
#include <wctype.h>

namespace tarvel {

namespace {

// The C library's Unicode tables, reached without touching the process locale.
locale_t utf8Locale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return locale;
}

constexpr bool isAscii(unsigned char byte) {
  return byte < 0x80;
}

bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

std::size_t decodeCharacter(std::string_view source, std::size_t index, char32_t& character) {
  const auto lead = static_cast<unsigned char>(source[index]);
  const auto invalid = [&] {
    character = kInvalidByteBase + lead;
    return std::size_t{1};
  };
  if (isAscii(lead)) {
    character = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return invalid();
  }
  if (index + length > source.size()) return invalid();
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(source[index + k]);
    if (!isContinuation(next)) return invalid();
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return invalid();
  }
  character = value;
  return length;
}

std::size_t encodeCharacter(char32_t c, char* out) {
  if (c >= kInvalidByteBase + 0x80 && c <= kInvalidByteBase + 0xFF) {
    out[0] = static_cast<char>(c - kInvalidByteBase);
    return 1;
  }
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (c >> 18));
  out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

namespace {

// Surrogate values stand for invalid bytes and never reach the C library; it leaves every other
// value it has no mapping for as it is.
bool mappable(char32_t c) {
  return c < 0xD800 || c > 0xDFFF;
}

char32_t mapWith(char32_t c, wint_t (*mapping)(wint_t, locale_t)) {
  const locale_t locale = utf8Locale();
  if (!mappable(c) || locale == nullptr) return c;
  const auto mapped = static_cast<char32_t>(mapping(static_cast<wint_t>(c), locale));
  return mappable(mapped) ? mapped : c;
}

}  // namespace

char32_t upperCharacter(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
  return mapWith(c, towupper_l);
}

char32_t lowerCharacter(char32_t c) {
  return mapWith(c, towlower_l);
}

namespace {

// The lead bytes of U+0085 and of U+2028/U+2029: only these need decoding to be escaped.
constexpr bool mayStartLineBreak(unsigned char byte) {
  return byte == 0xC2 || byte == 0xE2;
}

}  // namespace

void escapeControls(std::string& source, std::size_t from) {
  for (std::size_t i = from; i < source.size(); ++i) {
    const auto byte = static_cast<unsigned char>(source[i]);
    if (isControlByte(byte)) {
      source[i] = '?';
    } else if (mayStartLineBreak(byte)) {
      char32_t c = 0;
      const std::size_t length = decodeCharacter(source, i, c);
      if (isLineBreakCharacter(c)) {
        source.replace(i, length, 1, '?');
      } else {
        i += length - 1;
      }
    }
  }
}

void finishLine(std::string& out, std::size_t from, bool capitalize, bool atLineStart) {
  if (!capitalize) {
    escapeControls(out, from);
    return;
  }
  // One pass, in place: ASCII by table, other characters mapped and written back where they
  // stood; only a mapping that changes a character's byte length moves the rest of the line.
  bool first = atLineStart;
  for (std::size_t i = from; i < out.size(); first = false) {
    const auto byte = static_cast<unsigned char>(out[i]);
    if (isAscii(byte)) {
      const unsigned char cased = first ? kAsciiCase.upper[byte] : kAsciiCase.lower[byte];
      out[i++] = isControlByte(byte) ? '?' : static_cast<char>(cased);
      continue;
    }
    char32_t c = 0;
    std::size_t length = decodeCharacter(out, i, c);
    if (isLineBreakCharacter(c)) {
      out.replace(i, length, 1, '?');
      ++i;
      continue;
    }
    const char32_t mapped = first ? upperCharacter(c) : lowerCharacter(c);
    if (mapped != c) {
      char bytes[4];
      const std::size_t mappedLength = encodeCharacter(mapped, bytes);
      out.replace(i, length, bytes, mappedLength);
      length = mappedLength;
    }
    i += length;
  }
}

int displayWidth(std::string_view source) {
  const locale_t previous = uselocale(utf8Locale());
  int width = 0;
  for (std::size_t i = 0; i < source.size();) {
    char32_t c = 0;
    i += decodeCharacter(source, i, c);
    const int columns = mappable(c) ? wcwidth(static_cast<wchar_t>(c)) : 1;
    width += columns < 0 ? 1 : columns;
  }
  uselocale(previous);
  return width;
}

std::size_t characterCount(std::string_view source) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < source.size(); ++count) {
    char32_t c = 0;
    i += decodeCharacter(source, i, c);
  }
  return count;
}

}  // namespace tarvel
