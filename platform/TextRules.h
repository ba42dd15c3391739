#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tarvel {

// Text rules of report lines. Text is UTF-8 as far as it is valid; a byte that does not start
// a valid UTF-8 sequence is a character of its own that no rule changes, so any name the file
// system holds survives every conversion byte for byte.

// Decodes the character that starts at `source[index]` into `character` and returns its length
// in bytes. An invalid byte b has length 1 and decodes to kInvalidByteBase + b, a value no
// valid character takes.
inline constexpr char32_t kInvalidByteBase = 0xDC00;
std::size_t decodeCharacter(std::string_view source, std::size_t index, char32_t& character);
// Writes the character's bytes (at most 4) to `out` and returns how many.
std::size_t encodeCharacter(char32_t character, char* out);

// Unicode simple case mapping of one character; invalid bytes come back unchanged.
char32_t upperCharacter(char32_t character);
char32_t lowerCharacter(char32_t character);

// The case of ASCII letters, by table (sorting and line finishing look bytes up in their inner
// loops); every other byte maps to itself.
struct AsciiCase {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
  constexpr AsciiCase() {
    for (int byte = 0; byte < 256; ++byte) {
      upper[byte] = static_cast<unsigned char>(byte >= 'a' && byte <= 'z' ? byte - 32 : byte);
      lower[byte] = static_cast<unsigned char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
    }
  }
};
inline constexpr AsciiCase kAsciiCase;

// What would break a report line where it is read or shown is written as "?": control bytes
// (below 0x20, and 0x7F), and the characters that text panes end a line at (NEL U+0085, LINE
// SEPARATOR U+2028, PARAGRAPH SEPARATOR U+2029). So a name cannot forge lines of a listing.
constexpr bool isControlByte(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F;
}
constexpr bool isLineBreakCharacter(char32_t character) {
  return character == 0x85 || character == 0x2028 || character == 0x2029;
}
void escapeControls(std::string& source, std::size_t from = 0);

// Escapes out[from..] as escapeControls does and, when `capitalize` is set, upper-cases the
// first character and lower-cases all others. `atLineStart` false: out[from..] ends a line whose
// beginning was finished already, so its first character is lower-cased too.
void finishLine(std::string& out, std::size_t from, bool capitalize, bool atLineStart = true);

// Columns the text takes in a fixed-pitch pane: wide characters count 2, combining marks 0,
// invalid bytes 1.
int displayWidth(std::string_view source);

// Number of characters (an invalid byte counts as one).
std::size_t characterCount(std::string_view source);

}  // namespace tarvel
