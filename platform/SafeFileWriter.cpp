#include "platform/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/FullWrite.h"

namespace tarvel {

namespace {

FileWriteResult failure(int errorNumber) {
  return {false, classifyErrno(errorNumber), errorNumber};
}

FileWriteResult writeAll(int fd, std::string_view bytes) {
  const int error = writeFully(fd, bytes);
  return error == 0 ? FileWriteResult{} : failure(error);
}

FileWriteResult writeInPlace(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return failure(errno);
  FileWriteResult result = writeAll(fd, bytes);
  if (::close(fd) != 0 && result.ok) result = failure(errno);
  return result;
}

// Links are written through: the file they point to is the one replaced.
std::string resolveTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      std::string target(resolved);
      std::free(resolved);
      return target;
    }
  }
  return path;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

FileWriteResult replaceFileContents(const std::string& path, std::string_view bytes) {
  const std::string target = resolveTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) return failure(EISDIR);
    if (!S_ISREG(old.st_mode)) return writeInPlace(target, bytes);
    // Root passes access(); the write bits still say the owner wants the file left alone.
    if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) return failure(EACCES);
  }

  const std::string folder = folderOf(target);
  const auto slash = target.rfind('/');
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  // The temporary's name must fit where the target's does: long names are shortened.
  constexpr std::size_t kLongestKeptName = 200;
  if (name.size() > kLongestKeptName) name = "tarvelinquistombrel";
  std::string temporary = folder + "/." + name + ".XXXXXX";
  if (temporary.size() >= PATH_MAX) return failure(ENAMETOOLONG);
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return failure(errno);

  FileWriteResult result;
  if (exists) {
    // Ownership can only be kept by a privileged writer; the mode always is.
    [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    if (::fchmod(fd, old.st_mode & 07777) != 0) result = failure(errno);
  } else if (::fchmod(fd, newFileMode()) != 0) {
    result = failure(errno);
  }
  if (result.ok) result = writeAll(fd, bytes);
  if (result.ok && ::fsync(fd) != 0) result = failure(errno);
  if (::close(fd) != 0 && result.ok) result = failure(errno);
  if (result.ok && ::rename(temporary.c_str(), target.c_str()) != 0) result = failure(errno);
  if (!result.ok) ::unlink(temporary.c_str());
  return result;
}

}  // namespace tarvel
