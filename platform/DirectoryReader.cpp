#include "platform/DirectoryReader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarvel {

namespace {

constexpr std::size_t kBufferSize = std::size_t{64} * 1024;
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool isDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

DirectoryReader::DirectoryReader() : buffer_(new char[kBufferSize]) {}

DirectoryReader::~DirectoryReader() {
  close();
}

bool DirectoryReader::open(const char* path, bool followLink) {
  close();
  descriptor_ = ::open(path[0] == '\0' ? "/" : path, kFolderFlags | (followLink ? 0 : O_NOFOLLOW));
  return descriptor_ >= 0;
}

bool DirectoryReader::openAt(int parentDescriptor, const char* name) {
  close();
  descriptor_ = ::openat(parentDescriptor, name, kFolderFlags | O_NOFOLLOW);
  return descriptor_ >= 0;
}

void DirectoryReader::close() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  filled_ = offset_ = 0;
  exhausted_ = false;
}

int DirectoryReader::releaseDescriptor() {
  const int descriptor = descriptor_;
  descriptor_ = -1;
  close();
  return descriptor;
}

bool DirectoryReader::refill() {
  for (;;) {
    const ssize_t got = ::getdents64(descriptor_, buffer_.get(), kBufferSize);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      // A read error ends the folder like its end does: what was read is kept.
      exhausted_ = true;
      return false;
    }
    filled_ = static_cast<std::size_t>(got);
    offset_ = 0;
    return true;
  }
}

bool DirectoryReader::next(DirectoryEntry& entry, bool wantSize) {
  if (descriptor_ < 0) return false;
  for (;;) {
    if (offset_ >= filled_ && (exhausted_ || !refill())) return false;
    const auto* record = reinterpret_cast<const dirent64*>(buffer_.get() + offset_);
    offset_ += record->d_reclen;
    const char* name = record->d_name;
    if (isDotOrDotDot(name)) continue;
    entry = DirectoryEntry{};
    entry.name = std::string_view(name, std::strlen(name));
    entry.isHidden = name[0] == '.';
    resolveKind(entry, record->d_type, name, wantSize);
    return true;
  }
}

void DirectoryReader::resolveKind(DirectoryEntry& entry, unsigned char type, const char* name,
                                  bool wantSize) {
  struct stat info {};
  const bool needOwnStat = type == DT_UNKNOWN || (wantSize && type != DT_DIR);
  const bool haveOwnStat =
      needOwnStat && ::fstatat(descriptor_, name, &info, AT_SYMLINK_NOFOLLOW) == 0;
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
