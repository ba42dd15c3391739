#include "platform/FolderChain.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tarvel {

namespace {

// An eighth of the descriptors the process may have open: the threads reading ahead, other
// chains and whatever else the program holds need theirs too. No limit (RLIM_INFINITY, the
// largest value) leaves `wanted`.
std::size_t shareOfDescriptors(std::size_t wanted) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return wanted;
  return std::min<std::size_t>(wanted, limit.rlim_cur / 8);
}

}  // namespace

FolderChain::Identity FolderChain::identify(int descriptor) {
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) return {};
  return {info.st_dev, info.st_ino};
}

FolderChain::FolderChain(std::size_t budget) : wanted_(budget) {}

void FolderChain::start(SharedFolder top, std::vector<Identity> above) {
  clear();
  above_ = std::move(above);
  budget_ = std::max<std::size_t>(shareOfDescriptors(wanted_), 2);
  // The top was reached however the caller chose: it is taken as it is. A top among `above`
  // leaves the chain empty, and entering anything from it then fails.
  const Identity identity = top ? identify(top->get()) : Identity{};
  static_cast<void>(push("", std::move(top), identity));
}

void FolderChain::clear() {
  above_.clear();
  levels_.clear();
  names_.clear();
  openCount_ = 0;
  closedBelow_ = 1;
}

bool FolderChain::push(const char* name, SharedFolder folder, Identity identity) {
  const auto isIt = [&](const Identity& other) { return other == identity; };
  if (identity != Identity{} &&
      (std::ranges::any_of(above_, isIt) ||
       std::ranges::any_of(levels_, [&](const Level& level) { return isIt(level.identity); }))) {
    errno = kFolderLoop;
    return false;
  }
  const std::size_t nameStart = names_.size();
  names_.append(name);
  names_.push_back('\0');
  levels_.push_back({nameStart, std::move(folder), identity});
  ++openCount_;
  while (openCount_ > budget_ && closeOne()) {
  }
  return true;
}

int FolderChain::openName(int parent, const char* name) {
  for (;;) {
    const int folder = openSubfolder(parent, name);
    // Out of descriptors: give back one of ours and try again.
    if (folder >= 0 || !isOutOfDescriptors(errno) || !closeOne()) return folder;
  }
}

bool FolderChain::enter(const char* name) {
  const SharedFolder parent = deepest();
  if (!parent) return false;
  const int folder = openName(parent->get(), name);
  if (folder < 0) return false;
  const Identity identity = identify(folder);
  return push(name, shareFolder(folder), identity);
}

bool FolderChain::adopt(const char* name, SharedFolder folder, Identity identity) {
  return push(name, std::move(folder), identity);
}

void FolderChain::leaveTo(std::size_t depth, std::vector<SharedFolder>* left) {
  if (depth >= levels_.size()) return;
  if (left != nullptr) left->reserve(left->size() + levels_.size() - depth);  // may throw: first
  for (std::size_t i = depth; i < levels_.size(); ++i) {
    if (!levels_[i].folder) continue;
    --openCount_;
    if (left != nullptr) left->push_back(std::move(levels_[i].folder));
  }
  names_.resize(levels_[depth].nameStart);
  levels_.erase(levels_.begin() + static_cast<std::ptrdiff_t>(depth), levels_.end());
  closedBelow_ = std::max<std::size_t>(std::min(closedBelow_, depth), 1);
}

SharedFolder FolderChain::deepest() {
  if (levels_.empty()) {
    errno = EBADF;
    return nullptr;
  }
  if (!levels_.back().folder) reopen(levels_.size() - 1);
  return levels_.back().folder;  // null, with errno set, when it could not be opened again
}

SharedFolder FolderChain::openAt(std::size_t level) const {
  return level < levels_.size() ? levels_[level].folder : nullptr;
}

std::vector<FolderChain::Identity> FolderChain::lineage(std::size_t level) const {
  std::vector<Identity> lineage = above_;
  for (std::size_t i = 0; i < level && i < levels_.size(); ++i) {
    lineage.push_back(levels_[i].identity);
  }
  return lineage;
}

std::string FolderChain::pathOf(std::string_view topPath, std::size_t level) const {
  std::string path(topPath);
  for (std::size_t i = 1; i <= level && i < levels_.size(); ++i) {
    path.push_back('/');
    path.append(names_.c_str() + levels_[i].nameStart);
  }
  return path;
}

bool FolderChain::closeOne() {
  for (std::size_t i = closedBelow_; i + 1 < levels_.size(); ++i) {
    Level& level = levels_[i];
    if (!level.folder) continue;
    level.folder.reset();
    --openCount_;
    closedBelow_ = i + 1;
    return true;
  }
  return false;
}

void FolderChain::reopen(std::size_t level) {
  std::size_t open = level;
  while (!levels_[open].folder) --open;  // the top is never closed
  closedBelow_ = std::min(closedBelow_, open + 1);
  SharedFolder parent = levels_[open].folder;
  for (std::size_t i = open + 1; i <= level; ++i) {
    FileDescriptor folder(openName(parent->get(), names_.c_str() + levels_[i].nameStart));
    if (!folder.valid()) return;
    const Identity identity = identify(folder.get());
    if (identity == Identity{} || identity != levels_[i].identity) {
      errno = ESTALE;  // kept as the descriptor closes
      return;
    }
    levels_[i].folder = shareFolder(folder.release());
    ++openCount_;
    parent = levels_[i].folder;
    while (openCount_ > budget_ && closeOne()) {
    }
  }
}

}  // namespace tarvel
