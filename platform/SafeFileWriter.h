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

// Replaces the file at `path` with `bytes` so that a failure never damages what was there:
// the bytes go to a temporary file in the same folder, which then takes the old file's place
// with its permissions. An existing file without write permission is refused as access denied.
// A target that is not a regular file (a device, a pipe) is written in place.
FileWriteResult replaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace tarvel
