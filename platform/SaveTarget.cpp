#include "platform/SaveTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "platform/PathRules.h"

namespace tarvel {

namespace {

// As many links as the kernel follows in one path before it calls it a loop.
constexpr int kMostLinks = 40;

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
    std::string next(link.data(), static_cast<std::size_t>(length));
    // A relative link is read from the folder that holds it: it takes the link's name's place.
    if (!next.starts_with('/')) {
      next.insert(0, target.path, 0, target.path.size() - lastPathComponent(target.path).size());
    }
    target.path = next;
    target.throughLink = true;
  }
}

}  // namespace tarvel
