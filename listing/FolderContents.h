#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "listing/SelectedItem.h"

namespace tarvel {

// One folder's entries as a source reports them, in the source's order. Names are raw bytes,
// stored back to back, each followed by a NUL so it can be handed to the system.
class FolderContents {
 public:
  struct Folder {
    std::size_t offset;
    std::size_t length;
    bool canDescend;  // false for a link to a folder: shown, never entered
    ItemHandle item;
  };
  struct File {
    std::size_t offset;
    std::size_t length;
    std::uint64_t size;
    // Known once the file's status was read: its type and its time.
    std::int64_t modified = 0;  // seconds since 1970, UTC
    std::uint32_t mode = 0;
  };

  void clear();
  void addFolder(std::string_view name, bool canDescend, ItemHandle item = nullptr);
  void addFile(std::string_view name, std::uint64_t size = 0);
  // The size (a link's own, as `du` counts it; none for a folder), type and time of a file.
  void setFileStatus(std::size_t file, const struct stat& info);
  // What could not be read (errno values): the folder itself, opened or read to its end, and
  // the sizes of some files (indexes into files()).
  void noteFolderError(int error) { folderError_ = error; }
  void noteSizeError(std::size_t file, int error) { sizeErrors_.emplace_back(file, error); }
  int folderError() const { return folderError_; }
  const std::vector<std::pair<std::size_t, int>>& sizeErrors() const { return sizeErrors_; }

  const std::vector<Folder>& folders() const { return folders_; }
  const std::vector<File>& files() const { return files_; }
  std::string_view name(const Folder& folder) const { return text(folder.offset, folder.length); }
  std::string_view name(const File& file) const { return text(file.offset, file.length); }
  // Every name, each followed by its NUL, at the offsets the entries give.
  std::string_view allNames() const { return names_; }
  // Puts `order`, indexes into folders(), in the listing's name order.
  void sortFolders(std::vector<std::size_t>& order) const;

 private:
  std::string_view text(std::size_t offset, std::size_t length) const {
    return std::string_view(names_).substr(offset, length);
  }
  std::size_t store(std::string_view name);

  std::string names_;
  std::vector<Folder> folders_;
  std::vector<File> files_;
  int folderError_ = 0;
  std::vector<std::pair<std::size_t, int>> sizeErrors_;
};

}  // namespace tarvel
