#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvel {

// A tree item as the walk sees it: opaque, owned by the folder tree.
using ItemHandle = const void*;

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
  };

  void clear();
  void addFolder(std::string_view name, bool canDescend, ItemHandle item = nullptr);
  void addFile(std::string_view name, std::uint64_t size = 0);
  void setFileSize(std::size_t file, std::uint64_t size) { files_[file].size = size; }
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

enum class ItemKind { Folder, File };

// The item selected for a listing, as plain data.
struct SelectedItem {
  std::string text;  // its name as the tree shows it (raw bytes); "/" for the root
  std::string path;  // its full path without a trailing "/"; "" for the root
  ItemKind kind = ItemKind::Folder;
  ItemHandle item = nullptr;  // its tree item, for the tree source
  // How to reach it on the disk from the working folder, when not by `path`: the command line
  // opens the path as typed, so that "." works in a folder whose full path is too long.
  std::string reach = {};
};

// The folder the walk asks a source to read.
struct FolderToRead {
  // Its name in its parent, NUL-terminated; at depth 0, the path that reaches it.
  std::string_view name;
  int depth;        // 0 for the selected folder
  ItemHandle item;  // its tree item (tree source), else null
};

// Where the walk takes entries from: the disk, or the items the folder tree holds.
class EntrySource {
 public:
  virtual ~EntrySource() = default;
  // Whether file sizes can be had; without them a listing asking for sizes gets a warning.
  virtual bool providesSizes() const = 0;
  // Whether entries already come in listing order (the tree's); otherwise the walk sorts them.
  virtual bool keepsItsOrder() const = 0;
  // Adds the folder's entries to `contents`; a folder that cannot be read adds none.
  virtual void readFolder(const FolderToRead& folder, bool wantSizes, FolderContents& contents) = 0;
  // Called right after `folder` was read, when the walk will enter its subfolders: in `order`
  // (indexes into `contents.folders()`), each read with everything below it before whatever
  // was to follow `folder`; those that cannot be entered are not read. A source may read them
  // ahead.
  virtual void expectSubfolders(const FolderToRead& /*folder*/, const FolderContents& /*contents*/,
                                const std::vector<std::size_t>& /*order*/) {}
};

}  // namespace tarvel
