#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace tarvel {

// One entry of a folder, as the file system holds it.
struct DirectoryEntry {
  std::string_view name;   // raw bytes, followed by a NUL in the stream's buffer
  bool isFolder = false;   // a folder, or a symbolic link to one
  bool isSymlink = false;  // the entry itself is a symbolic link
  bool isHidden = false;   // the name begins with "."
  std::uint64_t size = 0;  // the entry's own size (a link's own), only when asked for
  int sizeError = 0;       // why the size asked for could not be read (an errno value), or 0
};

// How many entries a long read goes through between two looks at a stop request.
inline constexpr std::size_t kEntriesBetweenStopChecks = 4096;

// What the system tells of the entry `name` of the open folder `folder` itself (a link's own
// status, never its target's); false with errno set when it cannot be read.
[[nodiscard]] bool readEntryStatus(int folder, const char* name, struct stat& info);

// Reads an open folder entry by entry (find-first, find-next). "." and ".." are skipped; names
// are never matched against a pattern, so "*" and "?" are ordinary characters. One stream reads
// many folders in turn; its buffer is allocated once. The folder's descriptor stays the
// caller's.
class DirectoryStream {
 public:
  DirectoryStream();
  DirectoryStream(const DirectoryStream&) = delete;
  DirectoryStream& operator=(const DirectoryStream&) = delete;

  // Starts reading the folder open as `descriptor` from its beginning.
  void start(int descriptor);
  // The next entry, or false at the end. `wantSize` asks for the entry's size.
  [[nodiscard]] bool next(DirectoryEntry& entry, bool wantSize = false);
  // Why the folder could not be read to its end (an errno value), or 0.
  int error() const { return error_; }

 private:
  [[nodiscard]] bool refill();
  void resolveKind(DirectoryEntry& entry, unsigned char type, const char* name, bool wantSize);

  int descriptor_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t filled_ = 0;
  std::size_t offset_ = 0;
  bool exhausted_ = true;
  int error_ = 0;
};

}  // namespace tarvel
