#include "listing/DiskSource.h"

#include <unistd.h>

#include <climits>

namespace {
// Deeper folders are opened by full path; this bounds the descriptors held at once.
constexpr std::size_t kKeptDepth = 128;
}  // namespace

DiskSource::~DiskSource() {
  finish();
}

void DiskSource::finish() {
  keepUpTo(0);
}

void DiskSource::keepUpTo(std::size_t depth) {
  while (kept_.size() > depth) {
    if (kept_.back() >= 0) ::close(kept_.back());
    kept_.pop_back();
  }
}

void DiskSource::readFolder(const FolderToRead& folder, bool wantSizes, FolderContents& contents) {
  const auto depth = static_cast<std::size_t>(folder.depth);
  // Whatever is kept at this depth or below belongs to a subtree the walk has left.
  keepUpTo(depth);
  while (kept_.size() < depth) kept_.push_back(-1);

  bool opened = false;
  if (folder.path.size() < PATH_MAX) {
    if (depth > 0 && kept_[depth - 1] >= 0) {
      opened = reader_.openAt(kept_[depth - 1], folder.name.data());
    } else {
      opened = reader_.open(folder.path.c_str(), depth == 0);
    }
  }
  if (!opened) {
    kept_.push_back(-1);
    return;
  }
  DirectoryEntry entry;
  while (reader_.next(entry, wantSizes)) {
    if (entry.isFolder) {
      contents.addFolder(entry.name, !entry.isSymlink);
    } else {
      contents.addFile(entry.name, entry.size);
    }
  }
  if (depth < kKeptDepth) {
    kept_.push_back(reader_.releaseDescriptor());
  } else {
    reader_.close();
    kept_.push_back(-1);
  }
}
