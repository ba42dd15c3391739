#include "cli/TerminalProgress.h"

#include <cinttypes>

namespace tarvel {

namespace {
constexpr auto kQuietTime = std::chrono::milliseconds(500);
constexpr auto kRefreshTime = std::chrono::milliseconds(100);
constexpr std::uint32_t kCallsBetweenClockReads = 512;
}  // namespace

TerminalProgress::TerminalProgress(std::FILE* terminal, const RunState& state)
    : terminal_(terminal), state_(state) {}

void TerminalProgress::setPosition(std::int64_t) {
  // Reading the clock for every entry would cost more than the entry itself.
  if (++calls_ % kCallsBetweenClockReads != 0) return;
  const auto now = Clock::now();
  if (now - start_ < kQuietTime || now - lastShown_ < kRefreshTime) return;
  lastShown_ = now;
  show();
}

void TerminalProgress::show() {
  shown_ = true;
  std::fprintf(terminal_, "\r%" PRId64 " fichiers, %" PRId64 " dossiers...", state_.fileCount,
               state_.folderCount);
  std::fflush(terminal_);
}

void TerminalProgress::suspend() {
  suspended_ = shown_;
  finish();
}

void TerminalProgress::resume() {
  if (suspended_) show();
  suspended_ = false;
}

void TerminalProgress::finish() {
  if (!shown_) return;
  std::fputs("\r\033[K", terminal_);
  std::fflush(terminal_);
  shown_ = false;
}

}  // namespace tarvel
