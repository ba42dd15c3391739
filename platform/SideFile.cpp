#include "platform/SideFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>

namespace tarvel {

namespace {

constexpr std::size_t kRandomLetters = 6;

// ".NAME.XXXXXX" + suffix with the X drawn at random; empty with errno set on failure. Six
// random letters make a clash so unlikely that one is reported rather than retried.
std::string sideName(std::string_view beside, std::string_view suffix) {
  static constexpr std::string_view kLetters =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char random[kRandomLetters];
  if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return {};
  // The side file's name must fit where the file's does: long names are shortened.
  constexpr std::size_t kLongestKeptName = 200;
  if (beside.size() > kLongestKeptName) beside = "tarvelinquistombrel";
  std::string name = "." + std::string(beside) + ".";
  for (const unsigned char letter : random) name += kLetters[letter % kLetters.size()];
  return name + std::string(suffix);
}

}  // namespace

SideFile::SideFile(int folder, std::string_view beside, std::string_view suffix, mode_t mode)
    : folder_(::fcntl(folder, F_DUPFD_CLOEXEC, 0)), name_(sideName(beside, suffix)) {
  if (!folder_.valid() || name_.empty()) {
    error_ = errno;
    return;
  }
  file_.reset(
      ::openat(folder_.get(), name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
  if (!file_.valid()) error_ = errno;
  created_ = file_.valid();
}

SideFile::~SideFile() {
  if (created_ && !kept_) ::unlinkat(folder_.get(), name_.c_str(), 0);
}

}  // namespace tarvel
