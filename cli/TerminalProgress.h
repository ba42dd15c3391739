#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

#include "listing/FolderWalk.h"
#include "listing/WalkObservers.h"

namespace tarvel {

// A one-line count of what the walk has found, on a terminal, for walks long enough to make a
// user wonder; erased when the walk ends, or when the program ends otherwise.
class TerminalProgress final : public ProgressSink {
 public:
  TerminalProgress(std::FILE* terminal, const RunState& state);
  ~TerminalProgress() override { finish(); }
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void setRange(std::int64_t) override {}
  void setPosition(std::int64_t) override;
  void finish();
  // Something else is about to be written to the same terminal: the line goes, and comes back
  // with resume() if it was there, so that it never lands inside what was written.
  void suspend();
  void resume();

 private:
  using Clock = std::chrono::steady_clock;
  void show();

  std::FILE* terminal_;
  const RunState& state_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point lastShown_{};
  std::uint32_t calls_ = 0;
  bool shown_ = false;
  bool suspended_ = false;  // shown when suspend() erased it
};

}  // namespace tarvel
