#include "listing/FolderReader.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <functional>
#include <thread>
#include <vector>

#include "platform/ProcessorCount.h"

namespace tarvel {

namespace {

// Below this many files one thread reads the sizes; above it, the system's work on them
// spreads over the processors.
constexpr std::size_t kSharedFrom = 4096;

// Reads the sizes (with types and times) of files [begin, end), keeping each error in `errors`.
void readSizes(int folder, FolderContents& contents, std::size_t begin, std::size_t end,
               std::vector<int>& errors, std::stop_token stop) {
  const char* names = contents.allNames().data();
  for (std::size_t file = begin; file < end; ++file) {
    if ((file - begin) % kEntriesBetweenStopChecks == 0 && stop.stop_requested()) return;
    struct stat info {};
    if (readEntryStatus(folder, names + contents.files()[file].offset, info)) {
      contents.setFileStatus(file, info);
    } else {
      errors[file] = errno;
    }
  }
}

void readAllSizes(int folder, FolderContents& contents, std::vector<int>& errors,
                  const std::stop_token& stop) {
  const std::size_t count = contents.files().size();
  const unsigned threads = 1 + helperThreads();
  errors.assign(count, 0);
  if (count < kSharedFrom || threads == 1) {
    readSizes(folder, contents, 0, count, errors, stop);
  } else {
    const std::size_t share = (count + threads - 1) / threads;
    std::vector<std::thread> others;
    others.reserve(threads - 1);  // adding a thread then never fails with threads running
    try {
      for (unsigned part = 1; part < threads; ++part) {
        const std::size_t begin = std::min(count, part * share);
        others.emplace_back(readSizes, folder, std::ref(contents), begin,
                            std::min(count, begin + share), std::ref(errors), stop);
      }
    } catch (const std::exception&) {
      // Fewer threads (none could be started, or its state not allocated): this one reads
      // what they would have.
    }
    readSizes(folder, contents, 0, std::min(count, share), errors, stop);
    readSizes(folder, contents, std::min(count, (others.size() + 1) * share), count, errors, stop);
    for (auto& other : others) other.join();
  }
  for (std::size_t file = 0; file < count; ++file) {
    if (errors[file] != 0) contents.noteSizeError(file, errors[file]);
  }
}

}  // namespace

void FolderReader::read(int folder, bool wantSizes, FolderContents& contents,
                        std::stop_token stop) {
  stream_.start(folder);
  DirectoryEntry entry;
  std::size_t count = 0;
  // The containers grow geometrically from what was read: the size the system gives a folder
  // may be anything (some file systems report what lies below it), so no room is taken from it.
  while (stream_.next(entry)) {
    if (count++ % kEntriesBetweenStopChecks == 0 && stop.stop_requested()) return;
    if (entry.isFolder) {
      contents.addFolder(entry.name, !entry.isSymlink);
    } else {
      contents.addFile(entry.name);
    }
  }
  if (stream_.error() != 0) contents.noteFolderError(stream_.error());
  if (wantSizes) readAllSizes(folder, contents, sizeErrors_, stop);
  // The storage of a huge folder's errors is not kept for the small ones after it.
  if (sizeErrors_.capacity() > kEntriesBetweenStopChecks) sizeErrors_ = {};
}

}  // namespace tarvel
