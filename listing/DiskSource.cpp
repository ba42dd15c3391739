#include "listing/DiskSource.h"

#include <algorithm>
#include <thread>

namespace tarvel {

namespace {

// A few helpers keep the walk supplied; each more holds another buffer and more folders ahead.
constexpr unsigned kMaxHelpers = 3;

unsigned processorsBeyondTheFirst() {
  const unsigned processors = std::thread::hardware_concurrency();
  return processors > 1 ? std::min(processors - 1, kMaxHelpers) : 0;
}

}  // namespace

DiskSource::DiskSource() : DiskSource(processorsBeyondTheFirst()) {}

DiskSource::DiskSource(unsigned helpers) : readAhead_(helpers) {}

void DiskSource::finish() {
  readAhead_.stop();
  last_ = {};
}

void DiskSource::readFolder(const FolderToRead& folder, bool wantSizes, FolderContents& contents) {
  const auto depth = static_cast<std::size_t>(folder.depth);
  last_ = {};
  last_ = readAhead_.take(folder.path, depth, wantSizes, contents);
  lastPath_ = folder.path;
  lastDepth_ = depth;
  lastWantSizes_ = wantSizes;
}

void DiskSource::expectSubfolders(const FolderToRead& folder, const FolderContents& contents,
                                  const std::vector<std::size_t>& order) {
  const auto depth = static_cast<std::size_t>(folder.depth);
  const bool readLast = depth == lastDepth_ && folder.path == lastPath_;
  requests_.clear();
  for (const std::size_t index : order) {
    const auto& subfolder = contents.folders()[index];
    if (!subfolder.canDescend) continue;
    requests_.push_back(subfolderRequest(folder.path, depth, lastWantSizes_,
                                         readLast ? last_.descriptor : nullptr,
                                         contents.name(subfolder)));
  }
  readAhead_.expect(requests_, readLast && last_.subfoldersQueued);
}

}  // namespace tarvel
