#include "listing/DiskSource.h"

#include <cerrno>

#include "platform/ProcessorCount.h"

namespace tarvel {

DiskSource::DiskSource() : DiskSource(helperThreads()) {}

DiskSource::DiskSource(unsigned helpers) : readAhead_(helpers) {}

void DiskSource::finish() {
  readAhead_.stop();
  chain_.clear();
}

void DiskSource::setStop(std::stop_token stop) {
  readAhead_.setStop(stop);
  stop_ = std::move(stop);
}

void DiskSource::readFolder(const FolderToRead& folder, bool wantSizes, FolderContents& contents) {
  const auto depth = static_cast<std::size_t>(folder.depth);
  wantSizes_ = wantSizes;
  subfoldersQueued_ = false;
  if (depth == 0) {
    // The folder asked for is reached as the user named it, through links if it is one.
    const int top = openFolderPath(folder.name);
    if (top < 0) {
      contents.noteFolderError(errno);
      return;
    }
    chain_.start(shareFolder(top));
    reader_.read(top, wantSizes, contents, stop_);
    return;
  }
  chain_.leaveTo(depth, &left_);
  readAhead_.retire(left_);
  left_.clear();  // what the helpers did not take closes here
  if (chain_.depth() != depth) {
    contents.noteFolderError(ENOENT);  // its parent is not open: never guess another
    return;
  }
  const char* name = folder.name.data();  // NUL-terminated
  auto taken = readAhead_.take(depth, folder.name, reader_, contents);
  if (taken.taken) {
    subfoldersQueued_ = true;  // the helper that read it queued them
    if (taken.folder && !chain_.adopt(name, std::move(taken.folder), taken.identity)) {
      // A loop: what the helper read is dropped, and the folder is listed as not entered.
      contents.clear();
      contents.noteFolderError(errno);
    }
    return;
  }
  bool entered = chain_.enter(name);
  if (!entered && isOutOfDescriptors(errno)) {
    // Out of descriptors: the folders held ready take theirs back, and the walk reads alone.
    readAhead_.abandon();
    entered = chain_.enter(name);
  }
  if (!entered) {
    contents.noteFolderError(errno);
    return;
  }
  reader_.read(chain_.openAt(depth)->get(), wantSizes, contents, stop_);
}

void DiskSource::expectSubfolders(const FolderToRead& folder, const FolderContents& contents,
                                  const std::vector<std::size_t>& order) {
  const auto depth = static_cast<std::size_t>(folder.depth);
  if (subfoldersQueued_ || chain_.depth() != depth + 1) return;
  readAhead_.expect(chain_.openAt(depth), depth + 1, wantSizes_, contents, order);
}

}  // namespace tarvel
