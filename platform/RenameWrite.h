#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "platform/SaveInterruption.h"

namespace tarvel {

struct RenameWriteResult {
  // No faithful copy of the old file can be made (no new file can be created in its folder; an
  // owner, attribute or mode cannot be given): nothing was changed, write the file in place.
  bool wouldLose = false;
  int error = 0;  // errno of a failure, 0 on success
};

// Writes `bytes` to a new file beside `target`, then renames it to `target`. With `old` (the
// target exists), the new file first gets the old one's owner, attributes and mode; without,
// the kernel gives it 0666 less the umask (or the folder's default ACL), and the rename never
// replaces a file that appeared meanwhile. The temporary file is gone on every failure, and
// removed by an interrupting signal.
RenameWriteResult writeByRename(const std::string& target, const struct stat* old,
                                std::string_view bytes, SaveInterruption& interruption);

}  // namespace tarvel
