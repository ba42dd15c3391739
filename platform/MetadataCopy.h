#pragma once

#include <sys/stat.h>

#include <string>

namespace tarvel {

// Gives the open file `copy` the owner, group, extended attributes (access control lists
// among them) and mode of the file at `original`, described by `info`, and removes those it
// holds that the original lacks (a folder's default ACL, inherited at creation). False when
// any of these cannot be given: putting `copy` in the original's place would then lose it.
bool copyMetadata(const std::string& original, const struct stat& info, int copy);

}  // namespace tarvel
