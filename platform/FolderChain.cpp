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

FolderChain::FolderChain(std::size_t budget) : wanted_(budget) {}

void FolderChain::start(SharedFolder top) {
  clear();
  budget_ = std::max<std::size_t>(shareOfDescriptors(wanted_), 2);
  push("", std::move(top));
}

void FolderChain::clear() {
  levels_.clear();
  names_.clear();
  openCount_ = 0;
  closedBelow_ = 1;
}

void FolderChain::push(const char* name, SharedFolder folder) {
  const std::size_t nameStart = names_.size();
  names_.append(name);
  names_.push_back('\0');
  levels_.push_back({nameStart, std::move(folder)});
  ++openCount_;
  while (openCount_ > budget_ && closeOne()) {
  }
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
  const int folder = openName(parent->descriptor(), name);
  if (folder < 0) return false;
  push(name, shareFolder(folder));
  return true;
}

void FolderChain::adopt(const char* name, SharedFolder folder) {
  push(name, std::move(folder));
}

void FolderChain::leaveTo(std::size_t depth) {
  if (depth >= levels_.size()) return;
  for (std::size_t i = depth; i < levels_.size(); ++i) {
    if (levels_[i].folder) --openCount_;
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
    // Its identity, to recognise it when it is opened again; a folder that cannot say who it
    // is keeps 0, which no folder has, and is refused then.
    struct stat info {};
    const bool known = ::fstat(level.folder->descriptor(), &info) == 0;
    level.device = known ? info.st_dev : 0;
    level.inode = known ? info.st_ino : 0;
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
    const int folder = openName(parent->descriptor(), names_.c_str() + levels_[i].nameStart);
    if (folder < 0) return;
    struct stat info {};
    if (::fstat(folder, &info) != 0 || info.st_dev != levels_[i].device ||
        info.st_ino != levels_[i].inode) {
      ::close(folder);
      errno = ESTALE;
      return;
    }
    levels_[i].folder = shareFolder(folder);
    ++openCount_;
    parent = levels_[i].folder;
    while (openCount_ > budget_ && closeOne()) {
    }
  }
}

}  // namespace tarvel
