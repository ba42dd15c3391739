#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>

#include "listing/WalkObservers.h"

namespace tarvel {

// The total size in bytes of the files of a folder or of one file, and the line that shows it.
// Plain C++: the window and the command-line program both use it.

// With `pathIsEntry`, `path` names one entry: a file gives its own size, a folder its contents'
// size when `includeSubfolders` is set and 0 otherwise. Without it, `path` is a folder (the root
// is "") whose files are summed, and with `includeSubfolders` those of every folder below it.
// Sizes are a link's own; links are never followed below `path`, and every folder below it is
// opened relative to the one holding it, so no depth is cut and a link swapped in during the
// sum is never followed. A folder that cannot be read adds nothing; `problems` (may be null)
// hears of it, and of sizes that cannot be read, in path order once the sum is done. A total
// that does not fit in 64 bits stays at the largest value. When `stop` is requested the sum ends
// early and its result means nothing. `reach`, when given, is how the disk reaches `path` from
// the working folder (the command line's path as typed).
std::uint64_t sumFolderSize(const std::string& path, bool pathIsEntry, bool includeSubfolders,
                            std::stop_token stop = {}, ReadProblems* problems = nullptr,
                            std::string_view reach = {});

// "Taille du dossier:  1.5    Kilooctets" and the like; "Trop grand" from 1024 Gigaoctets on.
std::string sizeLine(std::uint64_t total);

}  // namespace tarvel
