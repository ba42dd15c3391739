#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "platform/PathRules.h"
#include "platform/TerminalQuote.h"
#include "platform/TextRules.h"

namespace tarvel {

namespace {

TEST(TextRules, FinishLineCapitalisesAndEscapesOnlyItsOwnPart) {
  // prefix (left alone), line, capitalize, finished line
  const std::tuple<const char*, const char*, bool, const char*> cases[] = {
      {"", "hELLO wORLD", true, "Hello world"},
      {"", "zAZ", true, "Zaz"},
      // Bytes that are not UTF-8 come back unchanged, or a name could not be reached again.
      {"",
       "\xc0\xaf"
       "A\xed\xa0\x80Z\xf4\x90\x80\x80\xe2\x82Z",
       false,
       "\xc0\xaf"
       "A\xed\xa0\x80Z\xf4\x90\x80\x80\xe2\x82Z"},
      {"",
       "\xc0\xaf"
       "A\xed\xa0\x80Z\xf4\x90\x80\x80\xe2\x82Z",
       true,
       "\xc0\xaf"
       "a\xed\xa0\x80z\xf4\x90\x80\x80\xe2\x82z"},
      {"", "ßA", true, "ßa"},
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

}  // namespace

}  // namespace tarvel
