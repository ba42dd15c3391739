#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The file-extension filter: patterns cut from the filter text at ";", each the text after
// the element's first "." (or the whole element), upper-cased, with its first "*" widened to
// ten "?". A pattern matches an extension that is no longer than it and agrees with it
// character by character, "?" agreeing with anything; matching ignores case.
class ExtensionPatterns {
 public:
  void rebuild(std::string_view filterText);
  bool matchesFileName(std::string_view fileName) const;
  bool empty() const { return patterns_.empty(); }

 private:
  std::vector<std::u32string> patterns_;
  mutable std::u32string extension_;  // scratch, so matching allocates nothing
};

}  // namespace tarvel
