#include "platform/SafeFileWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FullWrite.h"
#include "platform/InPlaceWrite.h"
#include "platform/OldFileCopy.h"
#include "platform/RenameWrite.h"
#include "platform/SaveInterruption.h"
#include "platform/SaveTarget.h"

namespace tarvel {

namespace {

FileWriteResult outcome(int errorNumber) {
  if (errorNumber == 0) return {};
  return {false, classifyErrno(errorNumber)};
}

// A device or a pipe given on purpose: no old content to keep, no length to reserve, and no
// signal held, since a pipe may wait for its reader as long as it likes.
int writeThrough(SaveTarget& target, std::string_view bytes) {
  const int error = writeFully(target.file.get(), bytes);
  const int closed = target.file.close();
  return error != 0 ? error : closed;
}

// A file this save made: it held nothing, so on failure, or on a signal, it goes again.
int writeNew(SaveTarget& target, std::string_view bytes, SaveInterruption& interruption) {
  interruption.removeOnSignal(target.folder.get(), target.name);
  int error = writeFully(target.file.get(), bytes);
  if (error == 0 && ::fsync(target.file.get()) != 0) error = errno;
  if (const int closed = target.file.close(); error == 0) error = closed;
  interruption.defer();
  if (error != 0 && namesFile(target.folder.get(), target.name, target.info))
    ::unlinkat(target.folder.get(), target.name.c_str(), 0);
  return error;
}

// Rewritten in place, the file must never be left half old, half new by a signal; a crash
// leaves the copy of its old bytes beside it.
int rewriteInPlace(SaveTarget& target, std::string_view bytes, SaveInterruption& interruption) {
  std::unique_ptr<SideFile> copy = copyOldFile(target, interruption);
  interruption.defer();
  const InPlaceWriteResult written = writeInPlace(target.file.get(), bytes);
  const int closed = target.file.close();
  const int error = written.error != 0 ? written.error : closed;
  // Once the old bytes began to change, a failure leaves the copy as their only whole form.
  if (copy && error != 0 && written.touched) copy->keep();
  copy.reset();
  return error;
}

}  // namespace

FileWriteResult replaceFileContents(const std::string& path, std::string_view bytes,
                                    PipeReader reader) {
  SaveInterruption interruption;
  SaveTarget target = openSaveTarget(path, reader);
  if (target.pipeWithoutReader) return {false, FileErrorCause::NoReader};
  if (target.error != 0) return outcome(target.error);
  if (!S_ISREG(target.info.st_mode)) return outcome(writeThrough(target, bytes));
  if (target.created) return outcome(writeNew(target, bytes, interruption));
  // Root may write anything; the write bits still say the owner wants the file left alone.
  if ((target.info.st_mode & 0222) == 0) return outcome(EACCES);
  // A rename would leave the other names, or the link, with the old file.
  if (target.direct && target.info.st_nlink == 1) {
    const RenameWriteResult renamed = writeByRename(target, bytes, interruption);
    if (!renamed.wouldLose) return outcome(renamed.error);
  }
  return outcome(rewriteInPlace(target, bytes, interruption));
}

}  // namespace tarvel
