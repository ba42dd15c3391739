#include "listing/PathArgument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/FileDescriptor.h"
#include "platform/FileError.h"
#include "platform/OpenFolder.h"
#include "platform/PathRules.h"
#include "platform/TerminalQuote.h"

namespace tarvel {

namespace {

// The working folder, or nullopt when it has none (it was removed): a relative path then
// means nothing, and taking it from "/" would list or write somewhere else entirely.
std::optional<std::string> currentFolder() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::nullopt;
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.data());
}

// Where the text of `path` ends its last ".." component; 0 when it has none.
std::size_t afterLastParentStep(std::string_view path) {
  std::size_t end = 0;
  for (std::size_t start = 0; start < path.size();) {
    const std::size_t stop = std::min(path.find('/', start), path.size());
    if (path.substr(start, stop - start) == "..") end = stop;
    start = stop + 1;
  }
  return end;
}

// The full path of the folder the file system reaches by `path`, up to and including its last
// "..": the folder above the one reached before it, through links, as `cd -P` goes up.
bool physicalFolder(const std::string& path, std::string& full, int& error) {
  const FileDescriptor folder(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!folder.valid()) {
    error = errno;
    return false;
  }
  const FileDescriptor here(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  std::optional<std::string> reached;
  if (here.valid() && ::fchdir(folder.get()) == 0) {
    reached = currentFolder();
    if (::fchdir(here.get()) != 0) reached.reset();
  }
  error = errno;
  if (!reached) return false;
  full = *reached == "/" ? std::string() : *reached;
  return true;
}

FileErrorCause causeOf(int error) {
  return error == ENOENT ? FileErrorCause::NotFound : classifyErrno(error);
}

PathArgument failure(std::string message) {
  PathArgument argument;
  argument.error = std::move(message);
  return argument;
}

}  // namespace

std::optional<std::string> absoluteFromWorkingFolder(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  auto folder = currentFolder();
  if (!folder) return std::nullopt;
  if (*folder == "/") folder->clear();  // the root's path is the empty text
  appendPathComponent(*folder, path);
  return folder;
}

PathArgument resolvePathArgument(const std::string& path) {
  PathArgument argument;
  SelectedItem& selected = argument.item;
  selected.reach = path;
  const auto listed = absoluteFromWorkingFolder(path);
  if (!listed) {
    return failure("le dossier de travail n'existe plus : " + quotePath(path) +
                   " ne peut être trouvé");
  }
  int error = 0;
  if (const std::size_t stepsEnd = afterLastParentStep(path); stepsEnd > 0) {
    std::string above;
    if (!physicalFolder(path.substr(0, stepsEnd), above, error)) {
      return failure(fileErrorMessage(causeOf(error), quotePath(*listed)));
    }
    const std::size_t rest = path.find_first_not_of('/', stepsEnd);
    selected.path = normalizeAbsolute(
        rest == std::string::npos ? std::string_view{} : std::string_view(path).substr(rest),
        above);
  } else {
    selected.path = normalizeAbsolute(*listed, "");
  }
  selected.text = displayName(selected.path);
  const std::string shown = quotePath(displayPath(selected.path));
  struct stat info {};
  if (!statPath(path, info, true)) {
    error = errno;
    if (error == ENOTDIR && path.ends_with('/')) return failure(shown + " n'est pas un dossier.");
    // A link that leads nowhere is an item like any file, as in the window.
    if (error != ENOENT || !statPath(path, info, false) || !S_ISLNK(info.st_mode)) {
      return failure(fileErrorMessage(causeOf(error), shown));
    }
  }
  selected.kind = S_ISDIR(info.st_mode) ? ItemKind::Folder : ItemKind::File;
  argument.ok = true;
  return argument;
}

}  // namespace tarvel
