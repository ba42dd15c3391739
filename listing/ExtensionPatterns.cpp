#include "listing/ExtensionPatterns.h"

#include <algorithm>

#include "platform/PathRules.h"
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

bool patternMatches(const std::u32string& pattern, const std::u32string& extension) {
  if (extension.size() > pattern.size()) return false;
  for (std::size_t i = 0; i < extension.size(); ++i) {
    if (pattern[i] != U'?' && pattern[i] != extension[i]) return false;
  }
  return true;
}

}  // namespace

void ExtensionPatterns::rebuild(std::string_view filterText) {
  plain_.clear();
  wild_.clear();
  if (!filterText.empty()) cut(filterText);
  std::sort(plain_.begin(), plain_.end());
  plain_.erase(std::unique(plain_.begin(), plain_.end()), plain_.end());
}

void ExtensionPatterns::cut(std::string_view filterText) {
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
    auto& kind = pattern.find(U'?') == std::u32string::npos ? plain_ : wild_;
    kind.push_back(std::move(pattern));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

bool ExtensionPatterns::matchesFileName(std::string_view fileName) const {
  extension_.clear();
  // A name without "." is matched whole.
  const StemAndExtension parts = splitExtension(fileName);
  appendUpper(extension_, parts.hasDot ? parts.extension : fileName);
  // The plain patterns that begin with the extension follow one another from the first that
  // is not below it.
  const auto first = std::lower_bound(plain_.begin(), plain_.end(), extension_);
  if (first != plain_.end() && first->starts_with(extension_)) return true;
  return std::ranges::any_of(
      wild_, [this](const std::u32string& pattern) { return patternMatches(pattern, extension_); });
}

}  // namespace tarvel
