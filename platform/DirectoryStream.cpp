#include "platform/DirectoryStream.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace tarvel {

namespace {

constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

bool isDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

bool readEntryStatus(int folder, const char* name, struct stat& info) {
  return ::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0;
}

DirectoryStream::DirectoryStream() : buffer_(new char[kBufferSize]) {}

void DirectoryStream::start(int descriptor) {
  descriptor_ = descriptor;
  filled_ = offset_ = 0;
  exhausted_ = descriptor < 0;
  error_ = 0;
}

bool DirectoryStream::refill() {
  for (;;) {
    const ssize_t got = ::getdents64(descriptor_, buffer_.get(), kBufferSize);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      // What was read before an error is kept; the error is told.
      if (got < 0) error_ = errno;
      exhausted_ = true;
      return false;
    }
    filled_ = static_cast<std::size_t>(got);
    offset_ = 0;
    return true;
  }
}

bool DirectoryStream::next(DirectoryEntry& entry, bool wantSize) {
  for (;;) {
    if (offset_ >= filled_ && (exhausted_ || !refill())) return false;
    const auto* record = reinterpret_cast<const dirent64*>(buffer_.get() + offset_);
    offset_ += record->d_reclen;
    const char* name = record->d_name;
    if (isDotOrDotDot(name)) continue;
    entry = DirectoryEntry{};
    // The record's length bounds the name: only its padding is searched for the NUL.
    const std::size_t room = record->d_reclen - offsetof(dirent64, d_name);
    entry.name = std::string_view(name, ::strnlen(name, room));
    entry.isHidden = name[0] == '.';
    resolveKind(entry, record->d_type, name, wantSize);
    return true;
  }
}

void DirectoryStream::resolveKind(DirectoryEntry& entry, unsigned char type, const char* name,
                                  bool wantSize) {
  const bool needOwnStat = type == DT_UNKNOWN || (wantSize && type != DT_DIR);
  if (!needOwnStat && type != DT_LNK) {
    // The common case: the type read with the name says it all, no call, no stat buffer.
    entry.isFolder = type == DT_DIR;
    return;
  }
  struct stat info {};
  const bool haveOwnStat =
      needOwnStat && ::fstatat(descriptor_, name, &info, AT_SYMLINK_NOFOLLOW) == 0;
  if (needOwnStat && !haveOwnStat && wantSize) entry.sizeError = errno;
  if (type == DT_UNKNOWN && haveOwnStat) {
    type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISLNK(info.st_mode) ? DT_LNK : DT_REG;
  }
  if (haveOwnStat && wantSize && !S_ISDIR(info.st_mode)) {
    entry.size = static_cast<std::uint64_t>(info.st_size);
  }
  entry.isFolder = type == DT_DIR;
  entry.isSymlink = type == DT_LNK;
  if (entry.isSymlink) {
    struct stat linked {};
    entry.isFolder = ::fstatat(descriptor_, name, &linked, 0) == 0 && S_ISDIR(linked.st_mode);
  }
}

}  // namespace tarvel
