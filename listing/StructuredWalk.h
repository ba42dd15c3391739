#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "listing/DiskSource.h"
#include "listing/EntryRecord.h"
#include "listing/ExtensionPatterns.h"
#include "listing/ListingOptions.h"
#include "listing/StructuredWriter.h"
#include "listing/WalkObservers.h"
#include "listing/WalkPath.h"

namespace tarvel {

// Feeds a StructuredWriter the entries a text listing with the same options would show, in
// its order (a folder's subfolders, each followed by what it holds, then its files), each
// looked at once with `fstatat` for its type, size and time. Options that only shape text
// lines are ignored. Walks with an explicit stack; a folder that is one of its own ancestors
// (a bind mount) is listed but not entered again.
class StructuredWalk {
 public:
  StructuredWalk(const ListingOptions& options, StructuredWriter& writer,
                 ReadProblems* problems = nullptr);

  // Writes the whole document for the selected item.
  void write(DiskSource& source, const SelectedItem& selected);

 private:
  struct Frame {
    std::size_t pathLength = 0;  // of its path in path_
    EntryRecord record;          // as its parent's entry
    bool written = false;        // its entry is in the document
    FolderContents contents;
    std::vector<EntryRecord> folderRecords;  // indexes as contents.folders()
    std::vector<EntryRecord> fileRecords;    // indexes as contents.files()
    std::vector<std::size_t> folderOrder;
    std::vector<std::size_t> fileOrder;
    std::size_t nextFolder = 0;
  };

  void writeFolder(DiskSource& source, const SelectedItem& selected);
  void enterFolder(DiskSource& source, std::size_t depth, std::string_view name);
  void lookAtEntries(DiskSource& source, Frame& frame, std::size_t depth);
  void reportProblems(const Frame& frame);
  void writeFiles(const Frame& frame, std::size_t depth);
  // Writes the entries of the folders down to `depth` that are not written yet.
  void writeHolders(std::size_t depth);
  std::string_view entryPath(const Frame& frame, std::string_view name);

  const ListingOptions& options_;
  StructuredWriter& writer_;
  ReadProblems* problems_;
  ExtensionPatterns patterns_;
  WalkPath path_;
  std::string entryPath_;
  std::int64_t fileCount_ = 0;
  std::int64_t folderCount_ = 0;
  std::deque<Frame> frames_;
};

}  // namespace tarvel
