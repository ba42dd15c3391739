#include "platform/RenameWrite.h"

#include <fcntl.h>
#include <stdio.h>  // renameat
#include <unistd.h>

#include <cerrno>

#include "platform/FileDescriptor.h"
#include "platform/FullWrite.h"
#include "platform/MetadataCopy.h"
#include "platform/SideFile.h"

namespace tarvel {

namespace {

int fill(const SaveTarget& target, SideFile& temporary, std::string_view bytes, bool& wouldLose) {
  if (!copyMetadata(target.file.get(), target.info, temporary.descriptor())) {
    wouldLose = true;
    return 0;
  }
  int error = writeFully(temporary.descriptor(), bytes);
  if (error == 0 && ::fsync(temporary.descriptor()) != 0) error = errno;
  const int closed = temporary.close();
  return error != 0 ? error : closed;
}

// A renamed file survives a crash under its new name only once its folder is on disk too. The
// file is whole under its name already: a folder that cannot be read or synced only loses that.
void syncFolder(int folder) {
  const FileDescriptor readable(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (readable.valid()) static_cast<void>(::fsync(readable.get()));
}

// Puts the temporary in the target's place, unless its name no longer holds the file opened
// (another took its place meanwhile, which must not be replaced unseen).
int moveOver(const SaveTarget& target, const SideFile& temporary, bool& wouldLose) {
  if (!namesFile(target.folder.get(), target.name, target.info)) return EEXIST;
  const int folder = target.folder.get();
  if (::renameat(folder, temporary.name().c_str(), folder, target.name.c_str()) == 0) {
    syncFolder(folder);
    return 0;
  }
  // A file mounted over another cannot be renamed over, nor across file systems: in place.
  wouldLose = errno == EBUSY || errno == EXDEV;
  return wouldLose ? 0 : errno;
}

}  // namespace

RenameWriteResult writeByRename(const SaveTarget& target, std::string_view bytes,
                                SaveInterruption& interruption) {
  RenameWriteResult result;
  // Until its name is armed for removal, a signal must not end the program.
  interruption.defer();
  {
    // Private until it has the old file's owner and mode.
    SideFile temporary(target.folder.get(), target.name, "", 0600);
    if (!temporary.valid()) {
      // No new file beside the old one (a folder the user cannot write to, or without a free
      // entry): the file itself may still be written in place, which says why if it cannot.
      result.wouldLose = true;
    } else {
      interruption.removeOnSignal(temporary.folder(), temporary.name());
      result.error = fill(target, temporary, bytes, result.wouldLose);
      interruption.defer();
      if (result.error == 0 && !result.wouldLose) {
        result.error = moveOver(target, temporary, result.wouldLose);
        if (result.error == 0 && !result.wouldLose) temporary.keep();
      }
    }
  }  // the temporary, unless renamed, is gone before a signal that waited ends the program
  return result;
}

}  // namespace tarvel
