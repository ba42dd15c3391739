#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

#include "listing/FolderWalk.h"
#include "listing/WalkObservers.h"

namespace tarvel {

// A one-line count of what the walk has found, on a terminal, for walks long enough to make a
// user wonder; erased when the walk ends.
class TerminalProgress final : public ProgressSink {
 public:
  TerminalProgress(std::FILE* terminal, const RunState& state);
  void setRange(std::int64_t) override {}
  void setPosition(std::int64_t) override;
  void finish();

 private:
  using Clock = std::chrono::steady_clock;
  std::FILE* terminal_;
  const RunState& state_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point lastShown_{};
  std::uint32_t calls_ = 0;
  bool shown_ = false;
};

}  // namespace tarvel
