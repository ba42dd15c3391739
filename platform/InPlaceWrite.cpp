#include "platform/InPlaceWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FullWrite.h"

namespace tarvel {

namespace {

int reserve(int fd, std::size_t size) {
  if (size == 0) return 0;  // nothing to reserve, and fallocate refuses a zero length
  while (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0) {
    if (errno == EINTR) continue;
    // A file system that cannot reserve still meets a full disk before the old bytes change,
    // since the growth is written first.
    return errno == EOPNOTSUPP || errno == ENOSYS ? 0 : errno;
  }
  return 0;
}

int writeAt(int fd, std::size_t offset, std::string_view bytes) {
  if (::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0) return errno;
  return writeFully(fd, bytes);
}

}  // namespace

InPlaceWriteResult writeInPlace(int file, std::string_view bytes) {
  struct stat info {};
  if (::fstat(file, &info) != 0) return {errno};
  const auto oldSize = static_cast<std::size_t>(info.st_size);
  if (const int error = reserve(file, bytes.size()); error != 0) return {error};
  if (bytes.size() > oldSize) {
    if (const int error = writeAt(file, oldSize, bytes.substr(oldSize)); error != 0) {
      [[maybe_unused]] const int cut = ::ftruncate(file, info.st_size);  // the old length back
      return {error};
    }
  }
  // From here the blocks are the file's own: only a failing device can stop the write.
  if (const int error = writeAt(file, 0, bytes.substr(0, oldSize)); error != 0)
    return {error, true};
  if (bytes.size() < oldSize && ::ftruncate(file, static_cast<off_t>(bytes.size())) != 0) {
    return {errno, true};
  }
  return {::fsync(file) == 0 ? 0 : errno, true};
}

}  // namespace tarvel
