#include "platform/RenameWrite.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FullWrite.h"
#include "platform/MetadataCopy.h"
#include "platform/PathRules.h"

namespace tarvel {

namespace {

constexpr std::string_view kRandomPart = "XXXXXX";

// The hidden temporary's name beside `target`, its random part still to be drawn.
std::string temporaryPattern(const std::string& target) {
  std::string_view name = lastPathComponent(target);
  const std::string_view folder = std::string_view(target).substr(0, target.size() - name.size());
  // The temporary's name must fit where the target's does: long names are shortened.
  constexpr std::size_t kLongestKeptName = 200;
  if (name.size() > kLongestKeptName) name = "tarvelinquistombrel";
  return std::string(folder) + "." + std::string(name) + "." + std::string(kRandomPart);
}

// Creates a file of a fresh name from `pattern` with the kernel's own mode from `mode` (umask or
// default ACL applied); the descriptor, or -1 with errno set. Six random letters make a clash
// so unlikely that one is reported rather than retried.
int createTemporary(std::string& pattern, mode_t mode) {
  static constexpr std::string_view kLetters =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char random[kRandomPart.size()];
  if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return -1;
  for (std::size_t i = 0; i < sizeof random; ++i) {
    pattern[pattern.size() - sizeof random + i] = kLetters[random[i] % kLetters.size()];
  }
  return ::open(pattern.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

int moveInto(const std::string& from, const std::string& to, bool replace) {
  if (replace) return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  // Some file systems cannot promise not to replace; the file was absent a moment ago.
  if (errno != EINVAL) return errno;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int fill(int fd, const std::string& target, const struct stat* old, std::string_view bytes,
         bool& wouldLose) {
  if (old != nullptr && !copyMetadata(target, *old, fd)) {
    wouldLose = true;
    return 0;
  }
  if (const int error = writeFully(fd, bytes); error != 0) return error;
  return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

RenameWriteResult writeByRename(const std::string& target, const struct stat* old,
                                std::string_view bytes, SaveInterruption& interruption) {
  RenameWriteResult result;
  std::string temporary = temporaryPattern(target);
  // Until its name is armed for removal, a signal must not end the program.
  interruption.defer();
  // An existing file's copy stays private until it has the old file's owner and mode.
  const int fd = createTemporary(temporary, old != nullptr ? 0600 : 0666);
  if (fd < 0) {
    const int error = errno;
    interruption.endAtOnce();
    // No new file beside the old one (a folder the user cannot write to, or without a free
    // entry): the file itself may still be written in place, which says why if it cannot.
    if (old != nullptr) return {true, 0};
    return {false, error};
  }
  interruption.removeOnSignal(temporary);
  result.error = fill(fd, target, old, bytes, result.wouldLose);
  if (::close(fd) != 0 && result.error == 0) result.error = errno;
  interruption.defer();
  if (result.error == 0 && !result.wouldLose)
    result.error = moveInto(temporary, target, old != nullptr);
  if (result.error != 0 || result.wouldLose) ::unlink(temporary.c_str());
  interruption.endAtOnce();
  return result;
}

}  // namespace tarvel
