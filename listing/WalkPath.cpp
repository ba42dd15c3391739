#include "listing/WalkPath.h"

#include "platform/PathRules.h"

namespace tarvel {

void WalkPath::start(const SelectedItem& root) {
  rootLength_ = root.path.size();
  rootReach_ = root.reach.empty() ? std::string(displayPath(root.path)) : root.reach;
  path_ = root.path;
}

std::size_t WalkPath::enter(std::size_t parentLength, std::string_view name) {
  path_.resize(parentLength);
  appendPathComponent(path_, name);
  return path_.size();
}

std::string_view WalkPath::belowRoot(std::size_t length) const {
  if (length <= rootLength_) return {};
  return std::string_view(path_).substr(rootLength_ + 1, length - rootLength_ - 1);
}

}  // namespace tarvel
