#pragma once

#include <stop_token>
#include <string>

#include "listing/DiskSource.h"
#include "listing/EntrySource.h"
#include "listing/ExtensionPatterns.h"
#include "listing/FolderWalk.h"
#include "listing/ListingOptions.h"
#include "listing/WalkObservers.h"
#include "platform/DateText.h"

namespace tarvel {

// Builds a whole report: header box, root line, the walk's lines (or the single line of a
// file), footer box. The report buffer is reserved once and reused by every run.
class ListingRun {
 public:
  static constexpr std::size_t kReservedReportSize = 5'000'000;

  ListingRun();

  // With `options.extractTree` and a tree source, entries come from the tree; otherwise from
  // the disk. When `stop` is requested first, the report holds only a beginning. A run that
  // throws (memory running out) leaves the report empty: a beginning must not pass for it.
  void run(const SelectedItem& selected, const ListingOptions& options,
           EntrySource* treeSource = nullptr, std::stop_token stop = {});

  const std::string& report() const { return report_; }
  const RunState& state() const { return state_; }

  void setClock(Clock clock) { clock_ = std::move(clock); }
  void setProgressSink(ProgressSink* sink) { progress_ = sink ? sink : &noProgress_; }
  void setWarningSink(WarningSink* sink) { warnings_ = sink ? sink : &noWarnings_; }
  // Where folders and sizes that cannot be read are told; none by default.
  void setProblemSink(ReadProblems* sink) { problems_ = sink; }
  // With an output, the walk hands the report over in pieces as it goes, and report() keeps
  // only what is left at the end; none by default.
  void setOutput(ReportOutput* output) { output_ = output; }

 private:
  void build(const SelectedItem& selected, const ListingOptions& options, EntrySource* treeSource,
             std::stop_token stop);
  void appendRootLine(const SelectedItem& selected, PathMode pathMode);
  void appendEscapedLine(std::string_view line);

  std::string report_;
  RunState state_;
  ExtensionPatterns patterns_;
  DiskSource disk_;
  Clock clock_ = systemClock();
  NoProgress noProgress_;
  NoWarnings noWarnings_;
  ProgressSink* progress_ = &noProgress_;
  WarningSink* warnings_ = &noWarnings_;
  ReadProblems* problems_ = nullptr;
  ReportOutput* output_ = nullptr;
};

}  // namespace tarvel
