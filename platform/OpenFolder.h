#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <string_view>

#include "platform/FileDescriptor.h"

namespace tarvel {

// An open folder's descriptor, closed when its last holder lets go: the walk and the threads
// that read ahead of it may share one.
using SharedFolder = std::shared_ptr<const FileDescriptor>;

// Takes over `descriptor`: null for -1; closed at once if the holder cannot be made.
[[nodiscard]] SharedFolder shareFolder(int descriptor);

// Whether `error` says the process, or the system, has no descriptor left to open one more.
inline bool isOutOfDescriptors(int error) {
  return error == EMFILE || error == ENFILE;
}

// Opens the folder `name` of the open folder `parent` for reading. `name` is one name, never
// "." or "..", and a symbolic link is never followed, so nothing outside `parent` can be
// reached. -1 with errno set when it cannot be opened.
[[nodiscard]] int openSubfolder(int parent, const char* name);

// Opens the folder at `path` as the user named it ("" is the root; a relative path starts at
// the working folder), following links on the way as a typed path does. A path longer than the
// system accepts at once is opened one name at a time. -1 with errno set on failure.
[[nodiscard]] int openFolderPath(std::string_view path);

// Opens the folder at `path` only to reach what it holds (O_PATH: no right to read it needed),
// as openFolderPath does otherwise. -1 with errno set on failure.
[[nodiscard]] int openFolderToPass(std::string_view path);

// The entry `path` names, however long the path; with `followLink`, what a link points to.
[[nodiscard]] bool statPath(std::string_view path, struct stat& info, bool followLink);

}  // namespace tarvel
