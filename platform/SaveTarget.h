#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/FileDescriptor.h"

namespace tarvel {

// A save to a pipe that no program reads yet: the shell's ">" waits for a reader, which a script
// may count on; a window must never hang on it.
enum class PipeReader { WaitForOne, MustBeThere };

// The file a save writes, opened as the shell's ">" opens it: for writing, created with 0666
// less the umask when missing, a last symbolic link followed by the kernel itself, so that its
// permission checks and link protections decide where the save may write. Nothing is truncated.
struct SaveTarget {
  FileDescriptor folder;  // the folder that holds the name given (opened only to pass through)
  std::string name;       // the last name of the path given, in `folder`
  FileDescriptor file;    // the file the kernel opened for writing
  struct stat info {};    // what `file` is
  bool created = false;   // the open made the file: it holds nothing of anyone's
  bool direct = false;    // `name` in `folder` is `file` itself, not a link to it
  int error = 0;          // errno when the file cannot be opened
  bool pipeWithoutReader = false;  // a pipe no program read, with PipeReader::MustBeThere
};

// Opens `path`; a relative path starts at the working folder, however deep it lies.
[[nodiscard]] SaveTarget openSaveTarget(const std::string& path, PipeReader reader);

// Whether the entry `name` of `folder` is, right now, the file `info` describes.
[[nodiscard]] bool namesFile(int folder, const std::string& name, const struct stat& info);

// Where the open file lies: a folder and a name in it that lead to that very file (never through
// a link), as found from the descriptor. `folder` is invalid when the file has no such place
// (deleted, or out of reach); `held` owns the folder when it is not the target's own.
struct FilePlace {
  FileDescriptor held;
  int folder = -1;
  std::string name;
};
[[nodiscard]] FilePlace placeOf(const SaveTarget& target);

}  // namespace tarvel
