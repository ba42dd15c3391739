#pragma once

#include <QElapsedTimer>
#include <cstdint>

#include "listing/WalkObservers.h"

class QProgressBar;

namespace tarvel {

// Shows the walk's progress on a bar. Values are kept inside the range (the bar would ignore
// others), and a range of 0 shows an empty bar rather than a busy one. The walk sends a range
// and positions for every folder; the bar is brought up to date and repainted as they come,
// but at most every few hundredths of a second (a bar repaints itself on every visible change,
// and 40,000 repaints would make a walk of 10,000 folders many times slower), and once more
// when the walk ends.
class ProgressBarSink final : public ProgressSink {
 public:
  explicit ProgressBarSink(QProgressBar* bar);

  void setRange(std::int64_t maximum) override;
  void setPosition(std::int64_t position) override;
  // Shows the last range and position now.
  void flush();

 private:
  void showIfDue();

  QProgressBar* bar_;
  std::int64_t maximum_ = 0;
  std::int64_t position_ = 0;
  QElapsedTimer sinceShown_;
};

}  // namespace tarvel
