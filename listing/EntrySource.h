#pragma once

#include <string_view>
#include <vector>

#include "listing/FolderContents.h"
#include "listing/SelectedItem.h"

namespace tarvel {

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
