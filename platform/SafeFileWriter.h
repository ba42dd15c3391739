#pragma once

#include <string>
#include <string_view>

#include "platform/FileError.h"

namespace tarvel {

struct FileWriteResult {
  bool ok = true;
  FileErrorCause cause = FileErrorCause::Unknown;
  int errorNumber = 0;
};

// Replaces the content of the file at `path` with `bytes`, so that a failure never damages
// what was there and a success keeps what belongs to the file. Normally the bytes go to a
// temporary file in the same folder, given the old file's owner, attributes and mode, which
// then takes its place by rename. Where a rename would lose something (other hard links, a
// symbolic link given as the path, an owner or attribute that cannot be given, no new file
// possible in the folder), the file is written in place after its new length is reserved. A
// link is written through, even to a file it names that does not exist yet; a new file gets
// 0666 less the umask. An existing file without write permission is refused as access denied;
// a device or a pipe is simply written to.
FileWriteResult replaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace tarvel
