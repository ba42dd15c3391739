#pragma once

#include <vector>

#include "listing/EntrySource.h"
#include "platform/DirectoryReader.h"

// Entries read from the file system. A subfolder is opened relative to its parent's descriptor,
// which the source keeps while the walk is below it (up to a depth, then by full path), so a
// deep walk neither resolves long paths again and again nor runs out of descriptors. A folder
// whose path is too long for the system is read as empty.
class DiskSource final : public EntrySource {
 public:
  DiskSource() = default;
  ~DiskSource() override;
  DiskSource(const DiskSource&) = delete;
  DiskSource& operator=(const DiskSource&) = delete;

  bool providesSizes() const override { return true; }
  bool keepsItsOrder() const override { return false; }
  void readFolder(const FolderToRead& folder, bool wantSizes, FolderContents& contents) override;
  // Closes every descriptor kept for the last walk.
  void finish();

 private:
  void keepUpTo(std::size_t depth);

  DirectoryReader reader_;
  std::vector<int> kept_;  // descriptor of the folder read at each depth, or -1
};
