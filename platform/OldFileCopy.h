#pragma once

#include <memory>

#include "platform/SaveInterruption.h"
#include "platform/SaveTarget.h"
#include "platform/SideFile.h"

namespace tarvel {

// Before a file is rewritten in place, a copy of its old bytes beside it, as careful editors
// keep one: ".NAME.XXXXXX~", readable by its owner only (given the file's owner where it can
// be), synced with its folder entry, so that a crash midway leaves the old bytes whole. It goes
// with the returned object; null when no copy can be made there (a folder the user cannot
// write to, a file they cannot read, a full disk, a deleted file) or none is needed (an empty
// file). A signal while it is being made removes it.
[[nodiscard]] std::unique_ptr<SideFile> copyOldFile(const SaveTarget& target,
                                                    SaveInterruption& interruption);

}  // namespace tarvel
