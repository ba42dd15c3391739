#pragma once

#include <string>
#include <string_view>

namespace tarvel {

// Writes `bytes` over the regular file at `path`, keeping the file itself: its other names,
// owner, attributes and mode. The room for the new length is reserved first, so that a full
// disk refuses the save before a byte of the old content changes; the growth past the old end
// is written next (and cut off again if that fails, where the file system could not reserve);
// only then is the old content overwritten, the file cut to the new length and synced.
// Returns 0, or the errno of the failure.
int writeInPlace(const std::string& path, std::string_view bytes);

}  // namespace tarvel
