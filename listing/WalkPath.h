#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "listing/EntrySource.h"

namespace tarvel {

// Where a walk stands: the path of the folder it entered last, whose beginnings are the paths
// of the folders above it, so that a deep walk keeps one path, not one per level. A level
// knows its own path by its length.
class WalkPath {
 public:
  // Begins at the selected folder; `rootReach` is then how the source reaches it.
  void start(const SelectedItem& root);
  // Enters `name` in the folder whose path is `parentLength` long; returns the new length.
  std::size_t enter(std::size_t parentLength, std::string_view name);

  const std::string& rootReach() const { return rootReach_; }
  std::size_t rootLength() const { return rootLength_; }
  std::size_t length() const { return path_.size(); }
  // The path of the level whose length is `length`.
  std::string_view upTo(std::size_t length) const { return {path_.data(), length}; }
  // The same below the selected folder, without a leading "/": empty for the folder itself.
  std::string_view belowRoot(std::size_t length) const;

 private:
  std::string rootReach_;
  std::string path_;
  std::size_t rootLength_ = 0;
};

}  // namespace tarvel
