#include "platform/FileDescriptor.h"

#include <unistd.h>

#include <cerrno>

namespace tarvel {

FileDescriptor::~FileDescriptor() {
  reset();
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) reset(other.release());
  return *this;
}

int FileDescriptor::release() noexcept {
  const int descriptor = descriptor_;
  descriptor_ = -1;
  return descriptor;
}

void FileDescriptor::reset(int descriptor) noexcept {
  if (descriptor_ >= 0 && descriptor_ != descriptor) {
    // errno belongs to whatever failure the caller is about to report.
    const int saved = errno;
    ::close(descriptor_);
    errno = saved;
  }
  descriptor_ = descriptor;
}

int FileDescriptor::close() noexcept {
  if (descriptor_ < 0) return 0;
  // The descriptor is gone even when close fails: never close it twice.
  return ::close(release()) == 0 ? 0 : errno;
}

}  // namespace tarvel
