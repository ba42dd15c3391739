#include "platform/SaveTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

namespace tarvel {

namespace {

// As many links as the kernel follows in one path before it calls it a loop.
constexpr int kMostLinks = 40;

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

SaveTarget resolveSaveTarget(const std::string& path) {
  SaveTarget target{path};
  std::vector<char> link(PATH_MAX);
  for (int followed = 0;; ++followed) {
    struct stat info {};
    if (::lstat(target.path.c_str(), &info) != 0) {
      // Nothing there yet: the save creates it (a missing folder fails then, with its cause).
      if (errno != ENOENT) target.error = errno;
      return target;
    }
    if (!S_ISLNK(info.st_mode)) return target;
    if (followed == kMostLinks) {
      target.error = ELOOP;
      return target;
    }
    const ssize_t length = ::readlink(target.path.c_str(), link.data(), link.size());
    if (length < 0 || static_cast<std::size_t>(length) == link.size()) {
      target.error = length < 0 ? errno : ENAMETOOLONG;
      return target;
    }
    const std::string next(link.data(), static_cast<std::size_t>(length));
    // A relative link is read from the folder that holds it.
    target.path = next.starts_with('/') ? next : folderOf(target.path) + "/" + next;
    target.throughLink = true;
  }
}

}  // namespace tarvel
