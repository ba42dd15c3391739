#include "app/ReportLines.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tarvel {

void ReportLines::clear() {
  *this = ReportLines();
}

void ReportLines::reserveFor(std::size_t more) {
  if (more <= capacity_ - size_) return;
  if (more > SIZE_MAX / 2 - size_) throw std::bad_alloc();
  const std::size_t capacity = std::max(size_ + more, std::max<std::size_t>(capacity_ * 2, 4096));
  void* grown = std::realloc(data_.get(), capacity);
  if (grown == nullptr) throw std::bad_alloc();
  static_cast<void>(data_.release());
  data_.reset(static_cast<char*>(grown));
  capacity_ = capacity;
}

void ReportLines::append(std::string_view piece) {
  if (piece.empty()) return;
  reserveFor(piece.size());
  marks_.reserve(marks_.size() + piece.size() / kLinesPerMark + 1);
  char* const text = data_.get();
  std::memcpy(text + size_, piece.data(), piece.size());
  const std::size_t end = size_ + piece.size();
  // From the start of the line the piece goes on with, which an earlier piece began.
  const bool mayHoldTabs =
      std::memchr(text + lastLineStart_, '\t', end - lastLineStart_) != nullptr;
  for (std::size_t at = size_;;) {  // memchr finds nothing in nothing
    const auto* lineFeed = static_cast<const char*>(std::memchr(text + at, '\n', end - at));
    if (lineFeed == nullptr) break;
    const std::size_t next = static_cast<std::size_t>(lineFeed - text) + 1;
    widestEnded_ = std::max(
        widestEnded_, columnsOf({text + lastLineStart_, next - 1 - lastLineStart_}, mayHoldTabs));
    lastLineStart_ = at = next;
    if (++lineFeeds_ % kLinesPerMark == 0) marks_.push_back(next);
  }
  size_ = end;
}

std::string_view ReportLines::line(std::size_t index) const {
  if (size_ == 0) return {};
  const char* const text = data_.get();
  std::size_t start = marks_[index / kLinesPerMark];
  for (std::size_t skip = index % kLinesPerMark; skip > 0; --skip) {
    start = static_cast<std::size_t>(
                static_cast<const char*>(std::memchr(text + start, '\n', size_ - start)) - text) +
            1;
  }
  const auto* lineFeed = static_cast<const char*>(std::memchr(text + start, '\n', size_ - start));
  const std::size_t end = lineFeed == nullptr ? size_ : static_cast<std::size_t>(lineFeed - text);
  return {text + start, end - start};
}

std::size_t ReportLines::widestColumns() const {
  return std::max(widestEnded_, columnsOf(bytes().substr(lastLineStart_), true));
}

std::size_t ReportLines::columnsOf(std::string_view line, bool mayHoldTabs) {
  if (!mayHoldTabs) return line.size();
  const auto tabs = static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t'));
  return line.size() + tabs * (kTabColumns - 1);
}

}  // namespace tarvel
