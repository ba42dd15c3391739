#pragma once

#include <string>
#include <string_view>

#include "platform/FileError.h"
#include "platform/SaveTarget.h"

namespace tarvel {

struct FileWriteResult {
  bool ok = true;
  FileErrorCause cause = FileErrorCause::Unknown;
};

// Replaces the content of the file at `path` (a relative path starts at the working folder)
// with `bytes`, so that a failure never damages what was there and a success keeps what belongs
// to the file. The file is opened as the shell's ">" opens it, so that the kernel's permission
// checks and link protections decide where the save may write; what it opened decides how:
// - a new file (0666 less the umask) is written directly, and removed again on failure;
// - a regular file named directly, with no other hard link, gets its bytes through a hidden
//   temporary in its folder, given its owner, attributes, flags and mode, renamed over it;
// - where that would lose something (other hard links, a link given as the path, an owner,
//   attribute or flag that cannot be given, no new file possible in the folder, a name that
//   cannot be renamed over), it is rewritten in place through the descriptor opened, after a
//   hidden copy of its old bytes is made beside it (removed once the new bytes are synced);
// - a device or a pipe is simply written to, as the shell does; `reader` says whether a pipe no
//   program reads yet is waited on, as the shell waits, or refused at once.
// A regular file without any write permission is refused as access denied, even for root.
[[nodiscard]] FileWriteResult replaceFileContents(const std::string& path, std::string_view bytes,
                                                  PipeReader reader);

}  // namespace tarvel
