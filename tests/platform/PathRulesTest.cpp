#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/PathRules.h"
#include "platform/TextRules.h"

namespace tarvel {

namespace {

TEST(PathRules, NormalizeLexicallyAndTreatTheRootAsEmpty) {
  // path, current folder, normalised path
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"a/../b", "/w/x", "/w/x/b"}, {"//x//", "/w", "/x"}, {".", "/w/x", "/w/x"},
      {"..", "/w/x", "/w"},         {"/", "/w", ""},       {"../../..", "/w", ""},
      {"/a/./b/.", "/w", "/a/b"},   {"a", "", "/a"},       {"/../x", "/w", "/x"},
      {"a*b/?", "/w", "/w/a*b/?"}};
  for (const auto& [path, current, expected] : cases)
    EXPECT_EQ(normalizeAbsolute(path, current), expected) << path << " in " << current;
  EXPECT_EQ(joinPath("", "etc"), "/etc");
}

// Every valid UTF-8 sequence is one character and back; anything else (overlong forms,
// surrogates, past U+10FFFF, cut short) is its first byte alone, kept as it is.
TEST(TextRules, DecodingTakesValidUtf8OnlyAndGivesEveryByteBack) {
  // bytes, the character they are (0: the first byte is invalid)
  const std::pair<std::string, char32_t> cases[] = {{"\x7F", 0x7F},
                                                    {"\xC2\x80", 0x80},
                                                    {"\xC1\xBF", 0},
                                                    {"\xDF\xBF", 0x7FF},
                                                    {"\xE0\xA0\x80", 0x800},
                                                    {"\xE0\x9F\xBF", 0},
                                                    {"\xED\x9F\xBF", 0xD7FF},
                                                    {"\xED\xA0\x80", 0},
                                                    {"\xED\xBF\xBF", 0},
                                                    {"\xEE\x80\x80", 0xE000},
                                                    {"\xEF\xBF\xBF", 0xFFFF},
                                                    {"\xF0\x90\x80\x80", 0x10000},
                                                    {"\xF0\x8F\xBF\xBF", 0},
                                                    {"\xF4\x8F\xBF\xBF", 0x10FFFF},
                                                    {"\xF4\x90\x80\x80", 0},
                                                    {"\xE2\x82", 0},
                                                    {"\x80", 0},
                                                    {"\xF8\x88\x80\x80\x80", 0}};
  for (const auto& [bytes, expected] : cases) {
    char32_t character = 0;
    const std::size_t length = decodeCharacter(bytes, 0, character);
    const auto first = static_cast<unsigned char>(bytes[0]);
    EXPECT_EQ(character, expected != 0 ? expected : kInvalidByteBase + first) << bytes;
    EXPECT_EQ(length, expected != 0 ? bytes.size() : 1u) << bytes;
    char out[4];
    EXPECT_EQ(std::string(out, encodeCharacter(character, out)), bytes.substr(0, length)) << bytes;
    if (expected == 0) {
      EXPECT_EQ(upperCharacter(character), character) << bytes;
    }
  }
}

}  // namespace

}  // namespace tarvel
