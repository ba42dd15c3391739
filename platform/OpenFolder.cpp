#include "platform/OpenFolder.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/PathRules.h"

namespace tarvel {

namespace {

constexpr int kReadFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
// Enough to pass through a folder on the way, even one that may be searched but not read.
constexpr int kPassFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

bool isOneName(const char* name) {
  return name[0] != '\0' && std::strchr(name, '/') == nullptr && std::strcmp(name, ".") != 0 &&
         std::strcmp(name, "..") != 0;
}

// Opens the folder holding the last name of `path` one name at a time, and sets `last` to that
// name (with the final separator, if any, which asks for a folder; "." for the root alone).
FileDescriptor openParentByNames(std::string_view path, std::string& last) {
  const std::vector<std::string_view> names = pathNames(path);
  FileDescriptor folder(::open(path.starts_with('/') ? "/" : ".", kPassFlags));
  for (std::size_t i = 0; folder.valid() && i + 1 < names.size(); ++i) {
    folder = FileDescriptor(::openat(folder.get(), std::string(names[i]).c_str(), kPassFlags));
  }
  last = names.empty() ? "." : std::string(names.back()) + (path.ends_with('/') ? "/" : "");
  return folder;
}

int openFolderWith(std::string_view path, int flags) {
  const std::string whole(path.empty() ? "/" : path);
  const int folder = ::open(whole.c_str(), flags);
  if (folder >= 0 || errno != ENAMETOOLONG) return folder;
  std::string last;
  const FileDescriptor parent = openParentByNames(whole, last);
  return parent.valid() ? ::openat(parent.get(), last.c_str(), flags) : -1;
}

}  // namespace

SharedFolder shareFolder(int descriptor) {
  FileDescriptor owned(descriptor);  // closed here if the holder cannot be made
  return owned.valid() ? std::make_shared<const FileDescriptor>(std::move(owned)) : nullptr;
}

int openSubfolder(int parent, const char* name) {
  if (!isOneName(name)) {
    errno = EINVAL;
    return -1;
  }
  return ::openat(parent, name, kReadFlags | O_NOFOLLOW);
}

int openFolderPath(std::string_view path) {
  return openFolderWith(path, kReadFlags);
}

int openFolderToPass(std::string_view path) {
  return openFolderWith(path, kPassFlags);
}

bool statPath(std::string_view path, struct stat& info, bool followLink) {
  const int flags = followLink ? 0 : AT_SYMLINK_NOFOLLOW;
  const std::string whole(path.empty() ? "/" : path);
  if (::fstatat(AT_FDCWD, whole.c_str(), &info, flags) == 0) return true;
  if (errno != ENAMETOOLONG) return false;
  std::string last;
  const FileDescriptor parent = openParentByNames(whole, last);
  return parent.valid() && ::fstatat(parent.get(), last.c_str(), &info, flags) == 0;
}

}  // namespace tarvel
