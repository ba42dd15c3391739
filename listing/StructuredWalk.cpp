#include "listing/StructuredWalk.h"

#include <fcntl.h>

#include <cerrno>

#include "listing/NameOrder.h"
#include "platform/OpenFolder.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"

namespace tarvel {

StructuredWalk::StructuredWalk(const ListingOptions& options, StructuredWriter& writer,
                               ReadProblems* problems)
    : options_(options), writer_(writer), problems_(problems) {
  if (options_.extensionFilterOn) patterns_.rebuild(options_.extensionFilter);
}

void StructuredWalk::write(DiskSource& source, const SelectedItem& selected) {
  const std::string_view shownPath = displayPath(selected.path);
  if (selected.kind == ItemKind::Folder) {
    writeFolder(source, selected);
    return;
  }
  // A file named on its own is the one entry, counted as one file, as in the report.
  struct stat info {};
  const std::string_view reach = selected.reach.empty() ? shownPath : selected.reach;
  EntryRecord record{selected.text};
  if (statPath(reach, info, false)) {
    record = EntryRecord::fromStatus(selected.text, info);
  } else if (problems_ != nullptr) {
    problems_->sizeUnreadable(shownPath, errno);
  }
  writer_.begin(shownPath, record);
  writer_.end(1, 0);
}

void StructuredWalk::writeFolder(DiskSource& source, const SelectedItem& selected) {
  path_.start(selected);
  fileCount_ = 0;
  folderCount_ = 0;
  // The helpers that read ahead stop, and the descriptors kept close, however the walk ends.
  const ScopeExit finishDisk{[&source] { source.finish(); }};
  if (frames_.empty()) frames_.emplace_back();
  frames_[0].record = EntryRecord{selected.text, EntryType::Folder};
  enterFolder(source, 0, path_.rootReach());
  writer_.begin(displayPath(selected.path), frames_[0].record);
  frames_[0].written = true;

  std::size_t depth = 0;
  for (;;) {
    Frame& frame = frames_[depth];
    if (frame.nextFolder < frame.folderOrder.size()) {
      const std::size_t index = frame.folderOrder[frame.nextFolder++];
      const EntryRecord& record = frame.folderRecords[index];
      const std::string_view name = record.name;
      if (!options_.includeSubfolders || record.type != EntryType::Folder) {
        if (!options_.noFolders) {
          writeHolders(depth);
          writer_.entry(entryPath(frame, name), record, false);
        }
        continue;
      }
      // Frames live in a deque: adding one leaves `frame` and `look` where they are.
      if (frames_.size() == depth + 1) frames_.emplace_back();
      Frame& child = frames_[depth + 1];
      child.record = record;
      child.written = false;
      ++depth;
      // A folder met again below itself is refused by the source's chain, as a read error.
      enterFolder(source, depth, name);
      if (!options_.noFolders) writeHolders(depth);
      continue;
    }
    writeFiles(frame, depth);
    if (depth == 0) break;
    if (frame.written) writer_.closeFolder();
    --depth;
  }
  writer_.end(fileCount_, folderCount_);
}

void StructuredWalk::enterFolder(DiskSource& source, std::size_t depth, std::string_view name) {
  Frame& frame = frames_[depth];
  frame.contents.clear();
  frame.folderRecords.clear();
  frame.fileRecords.clear();
  frame.folderOrder.clear();
  frame.fileOrder.clear();
  frame.nextFolder = 0;
  frame.pathLength = depth > 0 ? path_.enter(frames_[depth - 1].pathLength, name) : path_.length();

  const FolderToRead folder{name, static_cast<int>(depth), nullptr};
  // Files' statuses are read with their sizes, by the helpers that read ahead where there are.
  source.readFolder(folder, true, frame.contents);
  lookAtEntries(source, frame, depth);
  if (problems_ != nullptr) reportProblems(frame);

  for (std::size_t i = 0; i < frame.contents.folders().size(); ++i) frame.folderOrder.push_back(i);
  frame.contents.sortFolders(frame.folderOrder);
  for (std::size_t i = 0; i < frame.contents.files().size(); ++i) {
    const std::string_view fileName = frame.contents.name(frame.contents.files()[i]);
    if (options_.extensionFilterOn && !patterns_.matchesFileName(fileName)) continue;
    frame.fileOrder.push_back(i);
  }
  sortByName(frame.fileOrder, [&frame](std::size_t i) { return frame.fileRecords[i].name; });
  if (options_.includeSubfolders) {
    source.expectSubfolders(folder, frame.contents, frame.folderOrder);
  }
  // Counted as the report's footer counts them, whatever is left out of the document.
  folderCount_ += static_cast<std::int64_t>(frame.folderOrder.size());
  fileCount_ += static_cast<std::int64_t>(frame.fileOrder.size());
}

// Each entry's own status, never through a link: the files' were read with the folder (by a
// helper reading ahead, where there is one), the folders' are read here, relative to it.
void StructuredWalk::lookAtEntries(DiskSource& source, Frame& frame, std::size_t depth) {
  const FolderContents& contents = frame.contents;
  const SharedFolder folder = source.folderRead(depth);
  const int descriptor = folder ? folder->get() : -1;
  struct stat info {};
  if (depth == 0 && descriptor >= 0 && ::fstat(descriptor, &info) == 0) {
    frame.record = EntryRecord::fromStatus(frame.record.name, info);
  }
  const auto look = [&](std::string_view name, EntryRecord& record) {
    if (descriptor >= 0 && ::fstatat(descriptor, name.data(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
      record = EntryRecord::fromStatus(name, info);
      return;
    }
    if (problems_ != nullptr)
      problems_->sizeUnreadable(joinPath(path_.upTo(frame.pathLength), name), errno);
  };
  for (const auto& entry : contents.folders()) {
    EntryRecord record{contents.name(entry),
                       entry.canDescend ? EntryType::Folder : EntryType::Link};
    look(record.name, record);
    frame.folderRecords.push_back(record);
  }
  for (const auto& entry : contents.files()) {
    frame.fileRecords.push_back(
        EntryRecord::fromStatus(contents.name(entry), entry.mode, entry.size, entry.modified));
  }
  for (const auto& [file, error] : contents.sizeErrors()) {
    EntryRecord& record = frame.fileRecords[file];
    record = EntryRecord{record.name};
    if (problems_ != nullptr) {
      problems_->sizeUnreadable(joinPath(path_.upTo(frame.pathLength), record.name), error);
    }
  }
}

void StructuredWalk::reportProblems(const Frame& frame) {
  if (frame.contents.folderError() != 0) {
    problems_->folderUnreadable(displayPath(path_.upTo(frame.pathLength)),
                                frame.contents.folderError());
  }
}

void StructuredWalk::writeFiles(const Frame& frame, std::size_t depth) {
  if (options_.noFiles) return;
  for (const std::size_t index : frame.fileOrder) {
    const EntryRecord& record = frame.fileRecords[index];
    writeHolders(depth);
    writer_.entry(entryPath(frame, record.name), record, false);
  }
}

void StructuredWalk::writeHolders(std::size_t depth) {
  // A folder is written only after those above it: when it is, all of them are.
  if (frames_[depth].written) return;
  if (options_.noFolders && !writer_.foldersHoldEntries()) return;
  for (std::size_t level = 1; level <= depth; ++level) {
    Frame& frame = frames_[level];
    if (frame.written) continue;
    writer_.entry(path_.belowRoot(frame.pathLength), frame.record, true);
    frame.written = true;
  }
}

std::string_view StructuredWalk::entryPath(const Frame& frame, std::string_view name) {
  entryPath_ = path_.belowRoot(frame.pathLength);
  if (!entryPath_.empty()) entryPath_.push_back('/');
  entryPath_.append(name);
  return entryPath_;
}

}  // namespace tarvel
