#pragma once

#include <string>
#include <vector>

#include "listing/EntrySource.h"
#include "listing/FolderReadAhead.h"

namespace tarvel {

// Entries read from the file system. A subfolder is opened relative to its parent's descriptor
// (down to a depth, then by full path), so a deep walk neither resolves long paths again and
// again nor runs out of descriptors. A folder whose path is too long for the system is read
// as empty. Helper threads read folders ahead of the walk.
class DiskSource final : public EntrySource {
 public:
  // One helper per processor beyond the first, up to a few.
  DiskSource();
  // With no helpers the walk reads every folder itself.
  explicit DiskSource(unsigned helpers);

  bool providesSizes() const override { return true; }
  bool keepsItsOrder() const override { return false; }
  void readFolder(const FolderToRead& folder, bool wantSizes, FolderContents& contents) override;
  void expectSubfolders(const FolderToRead& folder, const FolderContents& contents,
                        const std::vector<std::size_t>& order) override;
  // Stops the helpers and closes every descriptor kept for the last walk.
  void finish();

 private:
  FolderReadAhead readAhead_;
  std::vector<FolderRequest> requests_;
  // The folder read last: its subfolders are opened relative to its descriptor.
  std::string lastPath_;
  std::size_t lastDepth_ = 0;
  bool lastWantSizes_ = false;
  TakenFolder last_;
};

}  // namespace tarvel
