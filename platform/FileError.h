#pragma once

#include <string>
#include <string_view>

namespace tarvel {

// Why a file could not be written, in the terms the user is told.
enum class FileErrorCause {
  Unknown,
  NotFound,
  BadPath,
  TooManyOpenFiles,
  AccessDenied,
  HardwareError,
  SharingViolation,
  DiskFull,
  DirectoryFull,
  LockViolation,
  LinkLoop,
  OutOfMemory,
  FileTooLarge,
  QuotaExceeded,
  NoDevice,
  ReaderGone,
  NoReader,
};

[[nodiscard]] FileErrorCause classifyErrno(int errorNumber);

// The French message for the cause, naming the file by its full path.
[[nodiscard]] std::string fileErrorMessage(FileErrorCause cause, std::string_view fullPath);

}  // namespace tarvel
