// Case mapping and capitalisation: every byte string survives decoding and encoding unchanged; a
// finished line holds no byte that breaks a line, and valid UTF-8 stays valid.
#include "FuzzInput.h"
#include "platform/TextRules.h"

namespace {

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    i += tarvel::decodeCharacter(text, i, c);
    if (c >= tarvel::kInvalidByteBase + 0x80 && c <= tarvel::kInvalidByteBase + 0xFF) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvel;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string again;
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const std::size_t length = decodeCharacter(text, i, c);
    FUZZ_CHECK(length >= 1 && i + length <= text.size());
    char bytes[4];
    again.append(bytes, encodeCharacter(c, bytes));
    i += length;
  }
  FUZZ_CHECK(again == text);

  for (const bool capitalize : {false, true}) {
    std::string line(text);
    finishLine(line, 0, capitalize);
    FUZZ_CHECK(!isValidUtf8(text) || isValidUtf8(line));
    for (std::size_t i = 0; i < line.size();) {
      char32_t c = 0;
      i += decodeCharacter(line, i, c);
      FUZZ_CHECK(!(c < 0x20 || c == 0x7F) && !isLineBreakCharacter(c));
    }
    std::string twice = line;
    finishLine(twice, 0, capitalize);
    FUZZ_CHECK(capitalize || twice == line);
  }
  FUZZ_CHECK(displayWidth(text) >= 0);
  return 0;
}
