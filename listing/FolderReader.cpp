#include "listing/FolderReader.h"

#include <unistd.h>

#include <climits>

namespace tarvel {

namespace {

// Deeper folders are opened by full path; this bounds the descriptors held at once.
constexpr std::size_t kKeptDepth = 128;

void closeAndFree(int* descriptor) {
  if (*descriptor >= 0) ::close(*descriptor);
  delete descriptor;
}

}  // namespace

SharedDescriptor FolderReader::read(const std::string& path, const char* name,
                                    const SharedDescriptor& parent, std::size_t depth,
                                    bool wantSizes, FolderContents& contents) {
  if (path.size() >= PATH_MAX) return nullptr;
  const bool opened =
      parent && depth > 0 ? reader_.openAt(*parent, name) : reader_.open(path.c_str(), depth == 0);
  if (!opened) return nullptr;
  DirectoryEntry entry;
  while (reader_.next(entry, wantSizes)) {
    if (entry.isFolder) {
      contents.addFolder(entry.name, !entry.isSymlink);
    } else {
      contents.addFile(entry.name, entry.size);
    }
  }
  if (depth >= kKeptDepth) {
    reader_.close();
    return nullptr;
  }
  // Made before the descriptor is taken over, so that no failure can leave it open.
  std::shared_ptr<int> kept(new int(-1), closeAndFree);
  *kept = reader_.releaseDescriptor();
  return kept;
}

}  // namespace tarvel
