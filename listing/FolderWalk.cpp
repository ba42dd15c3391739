#include "listing/FolderWalk.h"

#include <algorithm>
#include <charconv>

#include "listing/LineEnd.h"
#include "listing/NameOrder.h"
#include "platform/PathRules.h"
#include "platform/TextRules.h"

namespace tarvel {

namespace {

constexpr std::string_view kSizeWarningCaption = "Avertissement";
constexpr std::string_view kSizeWarningText =
    "Attention ! La taille des fichiers n'est pas calculée dans ce mode!\n"
    "Decochez la case 'Extraire l'arborescence' pour avoir la taille des fichiers";

std::int64_t lastStep(std::size_t count) {
  return count > 0 ? static_cast<std::int64_t>(count) - 1 : 0;
}

}  // namespace

FolderWalk::FolderWalk(const ListingOptions& options, const ExtensionPatterns& patterns,
                       RunState& state, std::string& report, ProgressSink& progress,
                       WarningSink& warnings, ReadProblems* problems)
    : options_(options),
      patterns_(patterns),
      state_(state),
      report_(report),
      progress_(progress),
      warnings_(warnings),
      problems_(problems) {}

bool FolderWalk::walk(EntrySource& source, const SelectedItem& root, std::stop_token stop) {
  source_ = &source;
  path_.start(root);
  if (frames_.empty()) frames_.emplace_back();
  enterFolder(0, true, path_.rootReach(), root.item);
  std::size_t depth = 0;
  for (;;) {
    const Step step = stepFolder(depth);
    if (step == Step::FolderDone) {
      writeFileLines(frames_[depth], depth);
      if (depth == 0) break;
      --depth;
      continue;
    }
    if (step == Step::Descend) ++depth;
    // A child was just read: the cheapest place to notice that the caller gave up.
    if (stop.stop_requested()) return false;
  }
  // A stop may have cut the last folder read short.
  return !stop.stop_requested();
}

void FolderWalk::enterFolder(std::size_t depth, bool readable, std::string_view name,
                             ItemHandle item) {
  Frame& frame = frames_[depth];
  frame.contents.clear();
  frame.folderOrder.clear();
  frame.fileTexts.clear();
  frame.fileOrder.clear();
  frame.nextFolder = 0;
  frame.returningFromChild = false;
  frame.pathLength = depth > 0 ? path_.enter(frames_[depth - 1].pathLength, name) : path_.length();
  prepareLinePrefix(frame);

  const bool withSizes = options_.includeFileSize && source_->providesSizes();
  if (options_.includeFileSize && !withSizes && !state_.sizeWarningShown) {
    state_.sizeWarningShown = true;
    warnings_.warn(kSizeWarningCaption, kSizeWarningText);
  }
  const FolderToRead folder{name, static_cast<int>(depth), item};
  if (readable) source_->readFolder(folder, withSizes, frame.contents);
  if (problems_ != nullptr) reportProblems(frame);
  for (std::size_t i = 0; i < frame.contents.folders().size(); ++i) frame.folderOrder.push_back(i);
  collectFiles(frame, withSizes);
  if (!source_->keepsItsOrder()) sortEntries(frame);
  if (readable && options_.includeSubfolders) {
    source_->expectSubfolders(folder, frame.contents, frame.folderOrder);
  }

  // Counted before any line is written, whatever is left out of the lines.
  state_.folderCount += static_cast<std::int64_t>(frame.folderOrder.size());
  state_.fileCount += static_cast<std::int64_t>(frame.fileOrder.size());
  frame.lastFolderStep = lastStep(frame.folderOrder.size());
  frame.lastFileStep = lastStep(frame.fileOrder.size());
  sendRange(frame);
  progress_.setPosition(0);
}

void FolderWalk::reportProblems(const Frame& frame) {
  const FolderContents& contents = frame.contents;
  if (contents.folderError() != 0) {
    problems_->folderUnreadable(displayPath(pathOf(frame)), contents.folderError());
  }
  for (const auto& [file, error] : contents.sizeErrors()) {
    problems_->sizeUnreadable(joinPath(pathOf(frame), contents.name(contents.files()[file])),
                              error);
  }
}

void FolderWalk::collectFiles(Frame& frame, bool withSizes) {
  // Most listings show names as they are: the spans then point into the names read.
  frame.textsAreNames = !withSizes && !options_.removeExtension;
  for (const auto& file : frame.contents.files()) {
    const std::string_view name = frame.contents.name(file);
    if (name.empty()) continue;  // the tree's expansion placeholder
    if (options_.extensionFilterOn && !patterns_.matchesFileName(name)) continue;
    if (frame.textsAreNames) {
      frame.fileOrder.push_back({file.offset, file.length});
      continue;
    }
    const std::size_t offset = frame.fileTexts.size();
    frame.fileTexts.append(options_.removeExtension ? splitExtension(name).stem : name);
    if (withSizes) {
      char digits[24];
      const auto end = std::to_chars(digits, digits + sizeof digits, file.size).ptr;
      frame.fileTexts.append(" ( ");
      frame.fileTexts.append(digits, end);
      frame.fileTexts.append(" )");
    }
    frame.fileOrder.push_back({offset, frame.fileTexts.size() - offset});
  }
}

void FolderWalk::sortEntries(Frame& frame) {
  frame.contents.sortFolders(frame.folderOrder);
  const std::string_view texts = fileTexts(frame);
  sortByName(frame.fileOrder,
             [texts](Span span) { return texts.substr(span.offset, span.length); });
}

void FolderWalk::sendRange(const Frame& frame) {
  progress_.setRange(frame.lastFolderStep + frame.lastFileStep);
  if (options_.noFiles) progress_.setRange(frame.lastFolderStep);
  if (options_.noFolders) progress_.setRange(frame.lastFileStep);
}

FolderWalk::Step FolderWalk::stepFolder(std::size_t depth) {
  Frame& frame = frames_[depth];
  if (frame.returningFromChild) {
    frame.returningFromChild = false;
    sendRange(frame);
    progress_.setPosition(static_cast<std::int64_t>(frame.nextFolder));
    ++frame.nextFolder;
    return Step::NextSubfolder;
  }
  if (frame.nextFolder >= frame.folderOrder.size()) return Step::FolderDone;

  const auto& subfolder = frame.contents.folders()[frame.folderOrder[frame.nextFolder]];
  const std::string_view name = frame.contents.name(subfolder);
  if (!options_.noFolders) writeSubfolderLine(frame, depth, name);
  if (options_.separatorPlacement == SeparatorPlacement::AfterDirectoryName) {
    writeSeparator(depth);
  }
  if (options_.includeSubfolders) {
    // Frames live in a deque: adding one leaves `frame` and `name` where they are.
    if (frames_.size() == depth + 1) frames_.emplace_back();
    frame.returningFromChild = true;
    enterFolder(depth + 1, subfolder.canDescend, name, subfolder.item);
    return Step::Descend;
  }
  progress_.setPosition(static_cast<std::int64_t>(frame.nextFolder));
  ++frame.nextFolder;
  return Step::NextSubfolder;
}

void FolderWalk::writeEntryPrefix(std::size_t depth) {
  writeSeparatorPrefix(depth);
  report_.push_back('-');
}

void FolderWalk::writeSeparatorPrefix(std::size_t depth) {
  // " |", then "  |" for each level: cut from one long prefix, so a deep line costs one copy.
  const std::size_t length = 2 + 3 * depth;
  if (treePrefix_.empty()) treePrefix_ = " |";
  while (treePrefix_.size() < length) treePrefix_.append("  |");
  report_.append(treePrefix_, 0, length);
}

void FolderWalk::prepareLinePrefix(Frame& frame) {
  frame.linePrefix.clear();
  if (options_.pathMode == PathMode::NoPath) return;
  frame.linePrefix.append(pathOf(frame));
  frame.linePrefix.push_back(kSeparator);
  // The path always begins with the selected folder's: a relative one is what follows it.
  if (options_.pathMode == PathMode::RelativePath) frame.linePrefix.erase(0, path_.rootLength());
  finishLine(frame.linePrefix, 0, options_.capitalizeNames);
}

std::size_t FolderWalk::appendPathPart(const Frame& frame, bool withPath) {
  if (withPath) report_.append(frame.linePrefix);
  return report_.size();
}

void FolderWalk::finishEntryLine(std::size_t lineStart, std::size_t restStart) {
  finishLine(report_, restStart, options_.capitalizeNames, restStart == lineStart);
  lastLineStart_ = lineStart;
  lastLineEnd_ = report_.size();
  lastLineUnmeasured_ = true;
  report_.append(kLineEnd);
  handOverPiece();
}

void FolderWalk::handOverPiece() {
  if (output_ == nullptr || report_.size() < kReportPieceBytes) return;
  settleLastLineLength();  // measured while the line is still there
  output_->write(report_);
  report_.clear();
}

void FolderWalk::settleLastLineLength() {
  if (!lastLineUnmeasured_) return;
  lastLineUnmeasured_ = false;
  state_.lastLineLength =
      displayWidth(std::string_view(report_).substr(lastLineStart_, lastLineEnd_ - lastLineStart_));
}

void FolderWalk::writeSubfolderLine(const Frame& frame, std::size_t depth, std::string_view name) {
  if (options_.treeStyle) writeEntryPrefix(depth);
  const std::size_t lineStart = report_.size();
  const bool withPath = options_.pathMode != PathMode::NoPath;
  const std::size_t restStart = appendPathPart(frame, withPath);
  if (!withPath && options_.jukeboxMode) {
    report_.append(displayName(pathOf(frame)));
    report_.append(" - ");
  }
  report_.append(name);
  finishEntryLine(lineStart, restStart);
}

void FolderWalk::writeFileLines(const Frame& frame, std::size_t depth) {
  const bool withPath = options_.pathMode != PathMode::NoPath && options_.applyPathOptionsToFiles;
  const std::string_view texts = fileTexts(frame);
  if (!options_.noFiles) {
    for (std::size_t j = 0; j < frame.fileOrder.size(); ++j) {
      if (options_.treeStyle) writeEntryPrefix(depth);
      const std::size_t lineStart = report_.size();
      const std::size_t restStart = appendPathPart(frame, withPath);
      report_.append(texts.substr(frame.fileOrder[j].offset, frame.fileOrder[j].length));
      finishEntryLine(lineStart, restStart);
      progress_.setPosition(frame.lastFolderStep + static_cast<std::int64_t>(j));
    }
  }
  const bool wroteOwnLine = (!frame.fileOrder.empty() && !options_.noFiles) ||
                            (!frame.folderOrder.empty() && !options_.noFolders);
  if (options_.separatorPlacement == SeparatorPlacement::AfterAllDirectories ||
      (options_.separatorPlacement == SeparatorPlacement::AfterNonEmptyDirectory && wroteOwnLine)) {
    writeSeparator(depth);
  }
}

// The separator is the user's own text, written as typed: unlike a name, it cannot come from
// someone else's files.
void FolderWalk::writeSeparator(std::size_t depth) {
  if (!options_.separatorOn) return;
  if (options_.treeStyle) writeSeparatorPrefix(depth);
  const std::string_view pattern = options_.separatorText;
  if (!pattern.empty() && pattern.front() == '%') {
    // "%" then a character drawn one column past the last entry line, then the closing text.
    settleLastLineLength();
    if (pattern.size() > 1) {
      char32_t unused = 0;
      const std::size_t unitLength = decodeCharacter(pattern, 1, unused);
      const std::string_view unit = pattern.substr(1, unitLength);
      for (int count = 0; count <= state_.lastLineLength; ++count) report_.append(unit);
      report_.append(pattern.substr(1 + unitLength));
    }
    state_.lastLineLength = 1;
  } else {
    report_.append(pattern);
  }
  report_.append(kLineEnd);
  handOverPiece();
}

}  // namespace tarvel
