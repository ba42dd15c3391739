#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <tuple>
#include <utility>

#include "platform/DateText.h"
#include "platform/PathRules.h"
#include "platform/TerminalQuote.h"
#include "platform/TextRules.h"

namespace tarvel {

namespace {

// Bytes that are not valid UTF-8 (stray bytes, an overlong "/", an encoded surrogate, a value
// beyond U+10FFFF, a sequence cut short) must come back unchanged, or a name could not be
// reached again from its report line.
TEST(TextRules, UpperCaseMapsBeyondAsciiAndKeepsInvalidBytes) {
  // "ß" has no single-character capital; "ſ" and "ı" lose a byte each.
  const std::pair<const char*, const char*> cases[] = {{"abc 09_", "ABC 09_"},
                                                       {"école", "ÉCOLE"},
                                                       {"straße", "STRAßE"},
                                                       {"ſı", "SI"},
                                                       {"a\377z\303", "A\377Z\303"},
                                                       {"\xc0\xaf", "\xc0\xaf"},
                                                       {"\xed\xa0\x80", "\xed\xa0\x80"},
                                                       {"\xf4\x90\x80\x80z", "\xf4\x90\x80\x80Z"},
                                                       {"\xe2\x82x", "\xe2\x82X"}};
  for (const auto& [source, expected] : cases) {
    std::string upper;
    const std::string_view view(source);
    for (std::size_t i = 0; i < view.size();) {
      char32_t c = 0;
      i += decodeCharacter(view, i, c);
      appendCharacter(upper, upperCharacter(c));
    }
    EXPECT_EQ(upper, expected) << source;
  }
}

TEST(TextRules, FinishLineCapitalisesAndEscapesOnlyItsOwnPart) {
  // prefix (left alone), line, capitalize, finished line
  const std::tuple<const char*, const char*, bool, const char*> cases[] = {
      {"", "hELLO wORLD", true, "Hello world"},
      {"aB\n", "éCOLE ÉTÉ", true, "École été"},
      {"xY", "ÉCOLE", false, "ÉCOLE"},
      {"", "a\nb\x7f", true, "A?b?"},
      {"", "a\tb\r", false, "a?b?"},
      {"", "\x01é", true, "?é"},
      {"", "ſAB", true, "Sab"},
      {"", "\377ABC", true, "\377abc"},
      // Pane line breaks forge lines as surely as LF does, capitalised or not.
      {"", "a\u2028b\u2029C\u0085d", true, "A?b?c?d"},
      {"", "a\u2028b\u2029C\u0085d", false, "a?b?C?d"},
      {"", "\u2027\u202a\u0084\xe2\x80", false, "\u2027\u202a\u0084\xe2\x80"},
      {"", "", true, ""}};
  for (const auto& [prefix, line, capitalize, expected] : cases) {
    std::string out = std::string(prefix) + line;
    finishLine(out, std::string(prefix).size(), capitalize);
    EXPECT_EQ(out, std::string(prefix) + expected) << line;
  }
}

TEST(TextRules, DisplayWidthCountsColumns) {
  const std::pair<const char*, int> cases[] = {
      {"abc", 3}, {"日本語", 6}, {"e\u0301", 1}, {"\xff\xfe", 2}, {"中a\u0300b", 4}};
  for (const auto& [source, width] : cases) EXPECT_EQ(displayWidth(source), width) << source;
}

TEST(TerminalQuote, NothingATerminalActsOnReachesItRaw) {
  const std::pair<const char*, const char*> cases[] = {
      {"/a b/é", "« /a b/é »"},
      {"x\n\t\r\x1b[31m\x7f", "« x\\n\\t\\r\\x1B[31m\\x7F »"},
      {"c:\\d", "« c:\\\\d »"},
      {"\xc2\x9b"
       "2J\u2028\u0085",
       "« \\u009B2J\\u2028\\u0085 »"},
      {"\xff\xe2\x80", "« \\xFF\\xE2\\x80 »"},
  };
  for (const auto& [path, quoted] : cases) EXPECT_EQ(quotePath(path), quoted) << path;
}

TEST(PathRules, NormalizeLexicallyAndTreatTheRootAsEmpty) {
  // path, current folder, normalised path
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"a/../b", "/w/x", "/w/x/b"}, {"//x//", "/w", "/x"}, {".", "/w/x", "/w/x"},
      {"..", "/w/x", "/w"},         {"/", "/w", ""},       {"../../..", "/w", ""},
      {"/a/./b/.", "/w", "/a/b"},   {"a", "", "/a"},       {"/../x", "/w", "/x"},
      {"a*b/?", "/w", "/w/a*b/?"}};
  for (const auto& [path, current, expected] : cases) {
    EXPECT_EQ(normalizeAbsolute(path, current), expected) << path << " in " << current;
  }
  EXPECT_EQ(joinPath("", "etc"), "/etc");
}

TEST(DateText, ZeroPaddedDayInLocalTime) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  EXPECT_EQ(formatDateText(0), "Thu Jan 01 00:00:00 1970");
  EXPECT_EQ(formatDateText(1772701623), "Thu Mar 05 09:07:03 2026");
}

}  // namespace

}  // namespace tarvel
