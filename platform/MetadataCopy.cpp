#include "platform/MetadataCopy.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <string_view>

namespace tarvel {

namespace {

// What an xattr call returns into a buffer, asked for its size first (and again if it grew in
// between); nullopt with errno set on failure.
template <typename Read>
std::optional<std::string> readAll(Read read) {
  for (;;) {
    const ssize_t size = read(nullptr, 0);
    if (size < 0) return std::nullopt;
    std::string buffer(static_cast<std::size_t>(size), '\0');
    const ssize_t got = read(buffer.data(), buffer.size());
    if (got >= 0) {
      buffer.resize(static_cast<std::size_t>(got));
      return buffer;
    }
    if (errno != ERANGE) return std::nullopt;
  }
}

// The attribute names that `list` (an xattr listing call) gives, each ended by a NUL; none
// where the file system keeps no attributes.
template <typename List>
std::optional<std::string> attributeNames(List list) {
  auto names = readAll(list);
  if (!names && errno == ENOTSUP) return std::string();
  return names;
}

// Calls `each` on every name of the list until it returns false; true if it never did.
template <typename Each>
bool forEachName(std::string_view names, Each each) {
  while (!names.empty()) {
    const std::string name(names.substr(0, names.find('\0')));
    if (!each(name)) return false;
    names.remove_prefix(std::min(names.size(), name.size() + 1));
  }
  return true;
}

bool holds(std::string_view names, const std::string& name) {
  return !forEachName(names, [&](const std::string& other) { return other != name; });
}

bool copyAttributes(int original, int copy) {
  const auto wanted = attributeNames(
      [&](char* buffer, std::size_t size) { return ::flistxattr(original, buffer, size); });
  const auto present = attributeNames(
      [&](char* buffer, std::size_t size) { return ::flistxattr(copy, buffer, size); });
  if (!wanted || !present) return false;
  const bool extraRemoved = forEachName(*present, [&](const std::string& name) {
    return holds(*wanted, name) || ::fremovexattr(copy, name.c_str()) == 0;
  });
  return extraRemoved && forEachName(*wanted, [&](const std::string& name) {
           const auto value = readAll([&](char* buffer, std::size_t size) {
             return ::fgetxattr(original, name.c_str(), buffer, size);
           });
           return value && ::fsetxattr(copy, name.c_str(), value->data(), value->size(), 0) == 0;
         });
}

// The attribute flags (chattr's letters: no dump, no access time, synchronous writes...), as the
// file system keeps them; none where it keeps no flags.
std::optional<int> attributeFlags(int file) {
  int flags = 0;
  if (::ioctl(file, FS_IOC_GETFLAGS, &flags) == 0) return flags;
  if (errno == ENOTTY || errno == ENOTSUP || errno == EINVAL || errno == ENOSYS) return 0;
  return std::nullopt;
}

// Gives `copy` the flags of `original` a user may change, keeping its others.
bool copyFlags(int original, int copy) {
  const auto wanted = attributeFlags(original);
  const auto present = attributeFlags(copy);
  if (!wanted || !present) return false;
  const int userFlags = *wanted & FS_FL_USER_MODIFIABLE;
  if ((*present & FS_FL_USER_MODIFIABLE) == userFlags) return true;
  int flags = (*present & ~FS_FL_USER_MODIFIABLE) | userFlags;
  // Set, then read back: a file system may take the call and drop a flag it does not keep.
  if (::ioctl(copy, FS_IOC_SETFLAGS, &flags) != 0) return false;
  const auto after = attributeFlags(copy);
  return after && (*after & FS_FL_USER_MODIFIABLE) == userFlags;
}

}  // namespace

bool copyMetadata(int original, const struct stat& info, int copy) {
  // Owner first, mode last: a change of owner clears the set-id bits, and setting an ACL sets
  // the group bits. What could not be set shows in the check at the end.
  [[maybe_unused]] const int owned = ::fchown(copy, info.st_uid, info.st_gid);
  if (!copyAttributes(original, copy) || !copyFlags(original, copy)) return false;
  [[maybe_unused]] const int moded = ::fchmod(copy, info.st_mode & 07777);
  struct stat now {};
  return ::fstat(copy, &now) == 0 && now.st_uid == info.st_uid && now.st_gid == info.st_gid &&
         (now.st_mode & 07777) == (info.st_mode & 07777);
}

}  // namespace tarvel
