#include "app/ProgressBarSink.h"

#include <QProgressBar>
#include <algorithm>
#include <limits>

namespace tarvel {

namespace {
constexpr std::int64_t kLargest = std::numeric_limits<int>::max();
}  // namespace

ProgressBarSink::ProgressBarSink(QProgressBar* bar)
    : bar_(bar), barThread_(std::this_thread::get_id()) {}

void ProgressBarSink::setRange(std::int64_t maximum) {
  const std::int64_t kept = std::clamp<std::int64_t>(maximum, 0, kLargest);
  maximum_ = kept;
  position_ = std::min(position_.load(), kept);
  showIfDue();
}

void ProgressBarSink::setPosition(std::int64_t position) {
  position_ = std::clamp<std::int64_t>(position, 0, maximum_);
  showIfDue();
}

void ProgressBarSink::showIfDue() {
  if (std::this_thread::get_id() != barThread_) return;
  if (sinceShown_.isValid() && sinceShown_.elapsed() < kShowIntervalMs) return;
  flush();
  bar_->repaint();
}

void ProgressBarSink::flush() {
  // 0..0 would make the bar busy; 0..1 at 0 draws it empty.
  const std::int64_t maximum = maximum_;
  const int shownMaximum = std::max(1, static_cast<int>(maximum));
  if (bar_->maximum() != shownMaximum) bar_->setRange(0, shownMaximum);
  bar_->setValue(static_cast<int>(std::min(position_.load(), maximum)));
  sinceShown_.restart();
}

}  // namespace tarvel
