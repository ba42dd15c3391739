#include "platform/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FullWrite.h"
#include "platform/InPlaceWrite.h"
#include "platform/RenameWrite.h"
#include "platform/SaveInterruption.h"
#include "platform/SaveTarget.h"

namespace tarvel {

namespace {

FileWriteResult outcome(int errorNumber) {
  if (errorNumber == 0) return {};
  return {false, classifyErrno(errorNumber), errorNumber};
}

// A device or a pipe: there is no old content to keep, and no length to reserve.
int writeThrough(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = writeFully(fd, bytes);
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace

FileWriteResult replaceFileContents(const std::string& path, std::string_view bytes) {
  SaveInterruption interruption;
  const SaveTarget target = resolveSaveTarget(path);
  if (target.error != 0) return outcome(target.error);
  struct stat old {};
  if (::stat(target.path.c_str(), &old) != 0) {
    if (errno != ENOENT) return outcome(errno);
    return outcome(writeByRename(target.path, nullptr, bytes, interruption).error);
  }
  if (S_ISDIR(old.st_mode)) return outcome(EISDIR);
  if (!S_ISREG(old.st_mode)) return outcome(writeThrough(target.path, bytes));
  // Root passes access(); the write bits still say the owner wants the file left alone.
  if ((old.st_mode & 0222) == 0 || ::access(target.path.c_str(), W_OK) != 0) {
    return outcome(EACCES);
  }
  // A rename would leave the other names, or the link, with the old file.
  if (!target.throughLink && old.st_nlink == 1) {
    const RenameWriteResult renamed = writeByRename(target.path, &old, bytes, interruption);
    if (!renamed.wouldLose) return outcome(renamed.error);
  }
  // Rewritten in place, the file must never be left half old, half new by a signal.
  interruption.defer();
  return outcome(writeInPlace(target.path, bytes));
}

}  // namespace tarvel
