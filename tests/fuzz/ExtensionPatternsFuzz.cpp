// The extension filter: any filter text and file name, matched in either letter case alike, and
// as the plain rule says, every pattern tried in turn.
#include "FuzzInput.h"
#include "listing/ExtensionPatterns.h"
#include "platform/TextRules.h"

namespace {

std::u32string upper(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    i += tarvel::decodeCharacter(text, i, c);
    out.push_back(tarvel::upperCharacter(c));
  }
  return out;
}

bool matchesOneByOne(std::string_view filter, std::string_view name) {
  constexpr auto npos = std::string_view::npos;
  const std::u32string extension =
      upper(name.substr(name.rfind('.') == npos ? 0 : name.rfind('.') + 1));
  for (std::size_t start = 0; !filter.empty();) {
    const auto end = filter.find(';', start);
    std::string_view element = filter.substr(start, end == npos ? npos : end - start);
    element.remove_prefix(element.find('.') == npos ? 0 : element.find('.') + 1);
    std::u32string pattern = upper(element);
    if (const auto star = pattern.find(U'*'); star != npos) pattern.replace(star, 1, 10, U'?');
    bool agrees = extension.size() <= pattern.size();
    for (std::size_t i = 0; agrees && i < extension.size(); ++i)
      agrees = pattern[i] == U'?' || pattern[i] == extension[i];
    if (agrees) return true;
    if (end == npos) break;
    start = end + 1;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvel;
  const auto texts = FuzzInput(data, size).texts();
  ExtensionPatterns patterns;
  patterns.rebuild(texts[0]);
  const std::string name = texts.size() > 1 ? texts[1] : texts[0];
  std::string upper = name;
  std::string lower = name;
  for (char& c : upper) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
  for (char& c : lower) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
  const bool kept = patterns.matchesFileName(name);
  FUZZ_CHECK(kept == matchesOneByOne(texts[0], name));
  FUZZ_CHECK(patterns.matchesFileName(upper) == kept);
  FUZZ_CHECK(patterns.matchesFileName(lower) == kept);
  // Names cut from the filter itself reach the patterns that agree with a beginning of them.
  for (std::size_t cut = 0; cut <= texts[0].size(); ++cut) {
    const std::string cutName = "x." + texts[0].substr(0, cut);
    FUZZ_CHECK(patterns.matchesFileName(cutName) == matchesOneByOne(texts[0], cutName));
  }
  return 0;
}
