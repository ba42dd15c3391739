#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace tarvel {

// One entry of a folder, as the file system holds it.
struct DirectoryEntry {
  std::string_view name;   // raw bytes, followed by a NUL in the reader's buffer
  bool isFolder = false;   // a folder, or a symbolic link to one
  bool isSymlink = false;  // the entry itself is a symbolic link
  bool isHidden = false;   // the name begins with "."
  std::uint64_t size = 0;  // the entry's own size (a link's own), only when asked for
};

// Reads a folder entry by entry (find-first, find-next). "." and ".." are skipped; names are
// never matched against a pattern, so "*" and "?" are ordinary characters. A folder that cannot
// be opened simply yields no entries. One reader can read many folders in turn; its buffer is
// allocated once.
class DirectoryReader {
 public:
  DirectoryReader();
  ~DirectoryReader();
  DirectoryReader(const DirectoryReader&) = delete;
  DirectoryReader& operator=(const DirectoryReader&) = delete;

  // Opens a folder by path (the empty path is the root); `followLink` says whether a link in
  // its last component is followed.
  bool open(const char* path, bool followLink = true);
  // Opens the folder `name` of an open folder; a link is never followed.
  bool openAt(int parentDescriptor, const char* name);
  // The next entry, or false at the end. `wantSize` asks for the entry's size.
  bool next(DirectoryEntry& entry, bool wantSize = false);
  // Closes the folder, or hands its descriptor to the caller (who then closes it).
  void close();
  int releaseDescriptor();

 private:
  bool refill();
  void resolveKind(DirectoryEntry& entry, unsigned char type, const char* name, bool wantSize);

  int descriptor_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t filled_ = 0;
  std::size_t offset_ = 0;
  bool exhausted_ = false;
};

}  // namespace tarvel
