#include "platform/SaveTarget.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/OpenFolder.h"
#include "platform/PathRules.h"

namespace tarvel {

namespace {

constexpr int kWriteFlags = O_WRONLY | O_CLOEXEC | O_NOCTTY;

// The folder part of `path`: what comes before its last name ("." when there is none).
std::string folderOf(const std::string& path, const std::string& name) {
  const std::string folder = path.substr(0, path.size() - name.size());
  return folder.empty() ? "." : folder;
}

// Opens `name` in `folder` for writing as the shell does. A first try that may only create tells
// a new file from an old one; an existing name (a file, or a link, which that try never follows)
// is then opened with O_CREAT all the same, since the kernel's protections of world-writable
// sticky folders apply only to opens that may create.
// Without waiting for a pipe's reader, the open does not block: a pipe nobody reads fails with
// ENXIO, and one that has a reader is then written to as any other (the flag is taken off).
int openAsTheShell(SaveTarget& target, PipeReader reader) {
  const char* name = target.name.c_str();
  const int flags = kWriteFlags | (reader == PipeReader::MustBeThere ? O_NONBLOCK : 0);
  target.file.reset(::openat(target.folder.get(), name, flags | O_CREAT | O_EXCL, 0666));
  target.created = target.file.valid();
  if (!target.created && errno == EEXIST) {
    target.file.reset(::openat(target.folder.get(), name, flags | O_CREAT, 0666));
  }
  if (!target.file.valid()) {
    const int error = errno;
    struct stat info {};
    target.pipeWithoutReader = error == ENXIO && (flags & O_NONBLOCK) != 0 &&
                               ::fstatat(target.folder.get(), name, &info, 0) == 0 &&
                               S_ISFIFO(info.st_mode);
    return error;
  }
  if ((flags & O_NONBLOCK) == 0) return 0;
  const int status = ::fcntl(target.file.get(), F_GETFL);
  if (status == -1 || ::fcntl(target.file.get(), F_SETFL, status & ~O_NONBLOCK) == -1) {
    return errno;
  }
  return 0;
}

}  // namespace

SaveTarget openSaveTarget(const std::string& path, PipeReader reader) {
  SaveTarget target;
  target.name = std::string(lastPathComponent(path));
  target.folder.reset(openFolderToPass(folderOf(path, target.name)));
  if (!target.folder.valid()) {
    target.error = errno;
    return target;
  }
  // "folder/" names a folder, which is never written as a file.
  if (target.name.empty()) {
    target.error = EISDIR;
    return target;
  }
  if ((target.error = openAsTheShell(target, reader)) != 0) return target;
  if (::fstat(target.file.get(), &target.info) != 0) {
    target.error = errno;
    return target;
  }
  target.direct = namesFile(target.folder.get(), target.name, target.info);
  return target;
}

bool namesFile(int folder, const std::string& name, const struct stat& info) {
  struct stat now {};
  return ::fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
         now.st_dev == info.st_dev && now.st_ino == info.st_ino;
}

FilePlace placeOf(const SaveTarget& target) {
  FilePlace place;
  if (target.direct) {
    place.folder = target.folder.get();
    place.name = target.name;
    return place;
  }
  // Reached through links: the kernel knows the path it opened; it counts only if the name found
  // there is still that file (not a deleted file's "(deleted)" path, nor a name reused since).
  char opened[PATH_MAX];
  const std::string self = "/proc/self/fd/" + std::to_string(target.file.get());
  const ssize_t length = ::readlink(self.c_str(), opened, sizeof opened);
  if (length <= 0 || static_cast<std::size_t>(length) == sizeof opened || opened[0] != '/')
    return place;
  const std::string path(opened, static_cast<std::size_t>(length));
  place.name = std::string(lastPathComponent(path));
  place.held.reset(openFolderToPass(folderOf(path, place.name)));
  if (place.held.valid() && namesFile(place.held.get(), place.name, target.info))
    place.folder = place.held.get();
  return place;
}

}  // namespace tarvel
