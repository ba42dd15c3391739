#pragma once

#include <stop_token>
#include <vector>

#include "listing/EntrySource.h"
#include "platform/DirectoryStream.h"

namespace tarvel {

// Reads one open folder at a time into FolderContents; each thread that reads has its own.
class FolderReader {
 public:
  // Adds the entries of the open folder `folder` to `contents` and, with `wantSizes`, the sizes
  // of its files, read on a few threads at once for a large folder. What cannot be read is
  // noted in `contents`. A stop request is seen every few thousand entries: `contents` then
  // holds a part of the folder.
  void read(int folder, bool wantSizes, FolderContents& contents, std::stop_token stop = {});

 private:
  DirectoryStream stream_;
  std::vector<int> sizeErrors_;  // one per file of the folder read last, kept from folder to folder
};

}  // namespace tarvel
