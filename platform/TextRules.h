#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvel {

// Text rules of report lines. Text is UTF-8 as far as it is valid; a byte that does not start
// a valid UTF-8 sequence is a character of its own that no rule changes, so any name the file
// system holds survives every conversion byte for byte.

// Decodes the character that starts at `text[index]` into `character` and returns its length
// in bytes. An invalid byte b has length 1 and decodes to kInvalidByteBase + b, a value no
// valid character takes.
inline constexpr char32_t kInvalidByteBase = 0xDC00;
std::size_t decodeCharacter(std::string_view text, std::size_t index, char32_t& character);
void appendCharacter(std::string& out, char32_t character);
// Writes the character's bytes (at most 4) to `out` and returns how many.
std::size_t encodeCharacter(char32_t character, char* out);

// Unicode simple case mapping of one character; invalid bytes come back unchanged.
char32_t upperCharacter(char32_t character);
char32_t lowerCharacter(char32_t character);

// Bytes that would break a report line (below 0x20, and 0x7F) are shown as "?".
constexpr bool isControlByte(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F;
}
void escapeControls(std::string& source, std::size_t from = 0);

// Escapes control bytes in out[from..] and, when `capitalize` is set, upper-cases the first
// character and lower-cases all others.
void finishLine(std::string& out, std::size_t from, bool capitalize);

// Columns the text takes in a fixed-pitch pane: wide characters count 2, combining marks 0,
// invalid bytes 1.
int displayWidth(std::string_view source);

// Number of characters (an invalid byte counts as one).
std::size_t characterCount(std::string_view source);

}  // namespace tarvel
