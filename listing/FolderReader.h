#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "listing/EntrySource.h"
#include "platform/DirectoryReader.h"

namespace tarvel {

// An open folder's descriptor, closed when its last holder lets go. Its subfolders are opened
// relative to it, possibly on another thread, so no long path is resolved again and again.
using SharedDescriptor = std::shared_ptr<const int>;

// Reads one folder from the file system at a time; each thread that reads has its own.
class FolderReader {
 public:
  // Adds the entries of the folder at `path` to `contents`. With `parent`, the folder is
  // opened as `name` in it, else by path; a link is followed only at depth 0. A folder that
  // cannot be opened, or whose path is too long for the system, adds nothing. Returns the
  // folder's descriptor when its subfolders are to be opened relative to it (down to a
  // depth, so that few descriptors are held at once), else null.
  SharedDescriptor read(const std::string& path, const char* name, const SharedDescriptor& parent,
                        std::size_t depth, bool wantSizes, FolderContents& contents);

 private:
  DirectoryReader reader_;
};

}  // namespace tarvel
