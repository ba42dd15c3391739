#include "listing/ListingRun.h"

#include "listing/LineEnd.h"
#include "listing/ReportBoxes.h"
#include "platform/PathRules.h"
#include "platform/ScopeExit.h"
#include "platform/TextRules.h"

namespace tarvel {

ListingRun::ListingRun() {
  report_.reserve(kReservedReportSize);
}

void ListingRun::run(const SelectedItem& selected, const ListingOptions& options,
                     EntrySource* treeSource, std::stop_token stop) {
  try {
    build(selected, options, treeSource, std::move(stop));
  } catch (...) {
    report_.clear();
    throw;
  }
}

void ListingRun::build(const SelectedItem& selected, const ListingOptions& options,
                       EntrySource* treeSource, std::stop_token stop) {
  report_.clear();
  if (options.includeHeader) appendHeaderBox(report_, formatDateText(clock_()));
  state_ = RunState{};
  // Without the filter the patterns stay as an earlier run left them; the walk ignores them.
  if (options.extensionFilterOn) patterns_.rebuild(options.extensionFilter);

  // A folder is always walked, even empty or holding only hidden entries; only a file is
  // reported as the single item.
  if (selected.kind == ItemKind::Folder) {
    if (options.treeStyle) appendRootLine(selected, options.pathMode);
    EntrySource& source = options.extractTree && treeSource != nullptr
                              ? *treeSource
                              : static_cast<EntrySource&>(disk_);
    FolderWalk walk(options, patterns_, state_, report_, *progress_, *warnings_, problems_);
    walk.setOutput(output_);
    // The helpers that read ahead stop, and the descriptors kept close, however the walk ends.
    const ScopeExit finishDisk{[this] { disk_.finish(); }};
    disk_.setStop(stop);
    if (!walk.walk(source, selected, stop)) return;  // stopped: no footer to a beginning
  } else {
    state_.fileCount = 1;
    appendEscapedLine(selected.text);
  }

  if (options.includeFooter) appendFooterBox(report_, state_.fileCount, state_.folderCount);
}

void ListingRun::appendRootLine(const SelectedItem& selected, PathMode pathMode) {
  switch (pathMode) {
    case PathMode::NoPath:
      appendEscapedLine(selected.text);
      break;
    case PathMode::RelativePath:
      appendEscapedLine("Root");
      break;
    case PathMode::AbsolutePath:
      appendEscapedLine(displayPath(selected.path));
      break;
  }
}

void ListingRun::appendEscapedLine(std::string_view line) {
  const std::size_t lineStart = report_.size();
  report_.append(line);
  escapeControls(report_, lineStart);
  report_.append(kLineEnd);
}

}  // namespace tarvel
