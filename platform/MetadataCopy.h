#pragma once

#include <sys/stat.h>

namespace tarvel {

// Gives the open file `copy` the owner, group, extended attributes (access control lists
// among them), attribute flags and mode of the open file `original`, described by `info`, and
// removes those it holds that the original lacks (a folder's default ACL or flags, inherited at
// creation). False when any of these cannot be given: putting `copy` in the original's place
// would then lose it.
[[nodiscard]] bool copyMetadata(int original, const struct stat& info, int copy);

}  // namespace tarvel
