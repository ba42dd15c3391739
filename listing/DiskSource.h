#pragma once

#include <stop_token>
#include <vector>

#include "listing/EntrySource.h"
#include "listing/FolderReadAhead.h"
#include "listing/FolderReader.h"
#include "platform/FolderChain.h"

namespace tarvel {

// Entries read from the file system. Below the selected folder, every folder is opened
// relative to the one holding it and never through a link (listed, not entered), however deep
// the tree: no path is resolved whole, so none is too long, and a folder swapped for a link
// during the walk is refused. Helper threads read folders ahead of the walk.
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
  // The folder read last, at `depth`, while the walk is in it; null when it was not opened.
  SharedFolder folderRead(std::size_t depth) {
    return chain_.depth() == depth + 1 ? chain_.deepest() : nullptr;
  }
  // Stops the helpers and closes every descriptor kept for the last walk. Every walk ends
  // with it, however it ends: what helpers read for one walk must not serve the next.
  void finish();
  // Folders being read, by the walk or ahead of it, stop early once `stop` is requested.
  void setStop(std::stop_token stop);

 private:
  FolderReadAhead readAhead_;
  FolderReader reader_;
  FolderChain chain_;               // from the selected folder down to the one read last
  std::vector<SharedFolder> left_;  // folders the walk just left, to be closed
  bool wantSizes_ = false;
  bool subfoldersQueued_ = false;  // those of the folder read last
  std::stop_token stop_;
};

}  // namespace tarvel
