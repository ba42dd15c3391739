#include "listing/ExtensionPatterns.h"

#include "platform/TextRules.h"

namespace tarvel {

namespace {

void appendUpper(std::u32string& out, std::string_view source) {
  for (std::size_t i = 0; i < source.size();) {
    char32_t c = 0;
    i += decodeCharacter(source, i, c);
    out.push_back(upperCharacter(c));
  }
}

std::string_view extensionOf(std::string_view fileName) {
  const auto dot = fileName.rfind('.');
  return dot == std::string_view::npos ? fileName : fileName.substr(dot + 1);
}

bool patternMatches(const std::u32string& pattern, const std::u32string& extension) {
  if (extension.size() > pattern.size()) return false;
  for (std::size_t i = 0; i < extension.size(); ++i) {
    if (pattern[i] != U'?' && pattern[i] != extension[i]) return false;
  }
  return true;
}

}  // namespace

void ExtensionPatterns::rebuild(std::string_view filterText) {
  patterns_.clear();
  if (filterText.empty()) return;
  std::size_t start = 0;
  for (;;) {
    const auto end = filterText.find(';', start);
    std::string_view element = filterText.substr(
        start, end == std::string_view::npos ? std::string_view::npos : end - start);
    const auto dot = element.find('.');
    if (dot != std::string_view::npos) element.remove_prefix(dot + 1);
    std::u32string pattern;
    appendUpper(pattern, element);
    const auto star = pattern.find(U'*');
    if (star != std::u32string::npos) pattern.replace(star, 1, 10, U'?');
    patterns_.push_back(std::move(pattern));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

bool ExtensionPatterns::matchesFileName(std::string_view fileName) const {
  extension_.clear();
  appendUpper(extension_, extensionOf(fileName));
  for (const auto& pattern : patterns_) {
    if (patternMatches(pattern, extension_)) return true;
  }
  return false;
}

}  // namespace tarvel
