#pragma once

#include <string>

namespace tarvel {

// The file a save writes: the path given, or, when it names a symbolic link, the file at the
// end of its links, as the shell's ">" writes through them, whether that file exists yet or not.
struct SaveTarget {
  std::string path;          // never a link (as the links stood when resolved)
  bool throughLink = false;  // the path given was a link, which must stay one
  int error = 0;             // errno when the links cannot be followed (ELOOP for a loop)
};

SaveTarget resolveSaveTarget(const std::string& path);

}  // namespace tarvel
