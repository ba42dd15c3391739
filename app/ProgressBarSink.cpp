#include "app/ProgressBarSink.h"

#include <QProgressBar>
#include <algorithm>
#include <limits>

namespace tarvel {

namespace {
constexpr qint64 kShowIntervalMs = 30;
constexpr std::int64_t kLargest = std::numeric_limits<int>::max();
}  // namespace

ProgressBarSink::ProgressBarSink(QProgressBar* bar) : bar_(bar) {}

void ProgressBarSink::setRange(std::int64_t maximum) {
  maximum_ = std::clamp<std::int64_t>(maximum, 0, kLargest);
  position_ = std::min(position_, maximum_);
  showIfDue();
}

void ProgressBarSink::setPosition(std::int64_t position) {
  position_ = std::clamp<std::int64_t>(position, 0, maximum_);
  showIfDue();
}

void ProgressBarSink::showIfDue() {
  if (sinceShown_.isValid() && sinceShown_.elapsed() < kShowIntervalMs) return;
  flush();
}

void ProgressBarSink::flush() {
  // 0..0 would make the bar busy; 0..1 at 0 draws it empty.
  const int maximum = std::max(1, static_cast<int>(maximum_));
  if (bar_->maximum() != maximum) bar_->setRange(0, maximum);
  bar_->setValue(static_cast<int>(position_));
  bar_->repaint();
  sinceShown_.restart();
}

}  // namespace tarvel
