#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The file-extension filter: patterns cut from the filter text at ";", each the text after
// the element's first "." (or the whole element), upper-cased, with its first "*" widened to
// ten "?". A pattern matches an extension that is no longer than it and agrees with it
// character by character, "?" agreeing with anything; matching ignores case.
//
// A pattern without "?" thus matches exactly the extensions that begin it: those are kept in
// name order and looked up, so that a filter of thousands of them costs a file a few
// comparisons. Patterns with "?" are tried one by one.
class ExtensionPatterns {
 public:
  void rebuild(std::string_view filterText);
  bool matchesFileName(std::string_view fileName) const;

 private:
  void cut(std::string_view filterText);

  std::vector<std::u32string> plain_;  // sorted
  std::vector<std::u32string> wild_;
  mutable std::u32string extension_;  // scratch, so matching allocates nothing
};

}  // namespace tarvel
