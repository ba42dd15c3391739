#include "platform/OldFileCopy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/FullWrite.h"

namespace tarvel {

namespace {

// Copies what `from` holds into `to`; 0 or the errno of the failure.
int copyBytes(int from, int to) {
  std::vector<char> buffer(std::size_t{1} << 16);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return 0;
    const int error = writeFully(to, {buffer.data(), static_cast<std::size_t>(got)});
    if (error != 0) return error;
  }
}

// Syncs the folder's entries, so that the copy's name survives a power cut too.
void syncFolder(int folder) {
  const FileDescriptor readable(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (readable.valid()) [[maybe_unused]]
    const int synced = ::fsync(readable.get());
}

}  // namespace

std::unique_ptr<SideFile> copyOldFile(const SaveTarget& target, SaveInterruption& interruption) {
  if (target.info.st_size == 0) return nullptr;
  const FilePlace place = placeOf(target);
  if (place.folder < 0) return nullptr;
  // The descriptor opened for writing cannot read: the same file again, for reading.
  const std::string self = "/proc/self/fd/" + std::to_string(target.file.get());
  const FileDescriptor reader(::open(self.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (!reader.valid()) return nullptr;
  interruption.defer();
  auto copy = std::make_unique<SideFile>(place.folder, place.name, "~", 0600);
  if (!copy->valid()) return nullptr;
  interruption.removeOnSignal(copy->folder(), copy->name());
  [[maybe_unused]] const int owned =
      ::fchown(copy->descriptor(), target.info.st_uid, target.info.st_gid);
  int error = copyBytes(reader.get(), copy->descriptor());
  if (error == 0 && ::fsync(copy->descriptor()) != 0) error = errno;
  if (const int closed = copy->close(); error == 0) error = closed;
  if (error != 0) {
    interruption.defer();
    copy.reset();
    return nullptr;
  }
  syncFolder(copy->folder());
  return copy;
}

}  // namespace tarvel
