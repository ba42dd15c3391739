#pragma once

#include <cstdint>
#include <deque>
#include <stop_token>
#include <string>
#include <vector>

#include "listing/EntrySource.h"
#include "listing/ExtensionPatterns.h"
#include "listing/ListingOptions.h"
#include "listing/WalkObservers.h"
#include "listing/WalkPath.h"

namespace tarvel {

// What one listing run counts and remembers while it walks.
struct RunState {
  std::int64_t fileCount = 0;
  std::int64_t folderCount = 0;
  int lastLineLength = 0;  // display width of the last entry line; 1 after a "%" separator
  bool sizeWarningShown = false;
};

// Writes the entry and separator lines of a folder and, with subfolders included, of
// everything below it, depth first: a subfolder's subtree follows its line, a folder's files
// follow all its subfolders. Walks with an explicit stack, so no depth can overflow the
// program's stack; each level's storage is kept for the next folder at that level.
class FolderWalk {
 public:
  // `problems` (may be null) hears of what cannot be read.
  FolderWalk(const ListingOptions& options, const ExtensionPatterns& patterns, RunState& state,
             std::string& report, ProgressSink& progress, WarningSink& warnings,
             ReadProblems* problems = nullptr);

  // Walks the selected folder (its item for the tree source). The length of its path is cut
  // from the front of relative paths. Returns false when `stop` was requested before the walk
  // ended; it is looked at before each folder is read.
  [[nodiscard]] bool walk(EntrySource& source, const SelectedItem& root, std::stop_token stop = {});
  // Hands the report to `output` (may be null) in pieces as it grows, between lines.
  void setOutput(ReportOutput* output) { output_ = output; }

 private:
  struct Span {
    std::size_t offset;
    std::size_t length;
  };
  struct Frame {
    std::size_t pathLength = 0;  // of its path in path_
    // What lines with a path begin with in this folder, finished once for all its lines.
    std::string linePrefix;
    FolderContents contents;
    std::vector<std::size_t> folderOrder;  // indexes into contents.folders(), in listing order
    std::string fileTexts;                 // finished file entry texts, back to back
    bool textsAreNames = false;            // the texts are the names: no copy in fileTexts
    std::vector<Span> fileOrder;           // spans of the texts, in listing order
    std::int64_t lastFolderStep = 0;       // d: subfolders - 1, or 0
    std::int64_t lastFileStep = 0;         // f: files - 1, or 0
    std::size_t nextFolder = 0;
    bool returningFromChild = false;
  };

  void enterFolder(std::size_t depth, bool readable, std::string_view name, ItemHandle item);
  void reportProblems(const Frame& frame);
  std::string_view pathOf(const Frame& frame) const { return path_.upTo(frame.pathLength); }
  void collectFiles(Frame& frame, bool withSizes);
  static std::string_view fileTexts(const Frame& frame) {
    return frame.textsAreNames ? frame.contents.allNames() : std::string_view(frame.fileTexts);
  }
  void sortEntries(Frame& frame);
  void sendRange(const Frame& frame);
  // After a step through the subfolders of the folder at `depth`, the walk goes on to its next
  // subfolder, into the subfolder just entered (depth + 1), or, when done, to its files.
  enum class Step { NextSubfolder, Descend, FolderDone };
  [[nodiscard]] Step stepFolder(std::size_t depth);
  void writeSubfolderLine(const Frame& frame, std::size_t depth, std::string_view name);
  void writeFileLines(const Frame& frame, std::size_t depth);
  void writeSeparator(std::size_t depth);
  void writeEntryPrefix(std::size_t depth);
  void writeSeparatorPrefix(std::size_t depth);
  void prepareLinePrefix(Frame& frame);
  // Appends the folder's line prefix when `withPath`; returns where the rest of the line starts.
  std::size_t appendPathPart(const Frame& frame, bool withPath);
  // Finishes the line begun at `lineStart`, whose part before `restStart` is finished already.
  void finishEntryLine(std::size_t lineStart, std::size_t restStart);
  void settleLastLineLength();
  void handOverPiece();

  const ListingOptions& options_;
  const ExtensionPatterns& patterns_;
  RunState& state_;
  std::string& report_;
  ProgressSink& progress_;
  WarningSink& warnings_;
  ReadProblems* problems_;
  ReportOutput* output_ = nullptr;

  EntrySource* source_ = nullptr;
  WalkPath path_;
  std::string treePrefix_;
  // The last entry line's place in the report: its width is measured only when a "%"
  // separator needs it, not for every line.
  std::size_t lastLineStart_ = 0;
  std::size_t lastLineEnd_ = 0;
  bool lastLineUnmeasured_ = false;
  std::deque<Frame> frames_;
};

}  // namespace tarvel
