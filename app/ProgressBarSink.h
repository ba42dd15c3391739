#pragma once

#include <QElapsedTimer>
#include <atomic>
#include <cstdint>
#include <thread>

#include "listing/WalkObservers.h"

class QProgressBar;

namespace tarvel {

// Shows the walk's progress on a bar. Values are kept inside the range (the bar would ignore
// others), and a range of 0 shows an empty bar rather than a busy one.
//
// The walk sends a range and positions for every folder, from whatever thread it runs on; they
// are only stored, and `flush` shows the latest on the bar from the window's thread (a timer
// calls it while a walk runs in the background). A walk on the window's own thread has no event
// loop to wait for, so the bar is repainted as the values come, at most every few hundredths of
// a second: a bar repaints itself on every visible change, and 40,000 repaints would make a
// walk of 10,000 folders many times slower.
class ProgressBarSink final : public ProgressSink {
 public:
  // The bar is shown at most this often, by itself or by a timer calling `flush`.
  static constexpr int kShowIntervalMs = 30;

  explicit ProgressBarSink(QProgressBar* bar);

  void setRange(std::int64_t maximum) override;
  void setPosition(std::int64_t position) override;
  // Shows the last range and position now; only from the bar's thread.
  void flush();

 private:
  void showIfDue();

  QProgressBar* bar_;
  std::thread::id barThread_;
  std::atomic<std::int64_t> maximum_ = 0;
  std::atomic<std::int64_t> position_ = 0;
  QElapsedTimer sinceShown_;
};

}  // namespace tarvel
