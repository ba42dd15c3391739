#pragma once

#include <string_view>

namespace tarvel {

struct InPlaceWriteResult {
  int error = 0;         // errno of a failure, 0 on success
  bool touched = false;  // the old bytes had begun to change: the file is no longer whole
};

// Writes `bytes` over the regular file open for writing as `file`, keeping the file itself: its
// other names, owner, attributes and mode. The room for the new length is reserved first, so
// that a full disk refuses the save before a byte of the old content changes; the growth past
// the old end is written next (and cut off again if that fails, where the file system could not
// reserve); only then is the old content overwritten, the file cut to the new length and synced.
[[nodiscard]] InPlaceWriteResult writeInPlace(int file, std::string_view bytes);

}  // namespace tarvel
