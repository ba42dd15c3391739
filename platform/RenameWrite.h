#pragma once

#include <string_view>

#include "platform/SaveInterruption.h"
#include "platform/SaveTarget.h"

namespace tarvel {

struct RenameWriteResult {
  // The file cannot be replaced faithfully (no new file can be created in its folder; an owner,
  // attribute, flag or mode cannot be given; the name cannot be renamed over, as a file mounted
  // on another): nothing was changed, write the file in place.
  bool wouldLose = false;
  int error = 0;  // errno of a failure, 0 on success
};

// Writes `bytes` to a hidden temporary beside the target, given first the old file's owner,
// attributes, flags and mode, then renames it over the target's name, if that name still holds
// the file opened. The temporary is gone on every failure, and removed by an interrupting
// signal.
[[nodiscard]] RenameWriteResult writeByRename(const SaveTarget& target, std::string_view bytes,
                                              SaveInterruption& interruption);

}  // namespace tarvel
