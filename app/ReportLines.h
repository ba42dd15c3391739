#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace tarvel {

// A report's bytes as the walk wrote them (CR LF lines), kept once, with what finding a line
// needs. The buffer grows with `realloc`: a large one is a mapping of its own, which the kernel
// moves rather than copies, so the report is never held twice while it grows.
//
// Lines are cut at LF only: their CRs stay in the bytes. Every 64th line's start is noted; a
// line is found from the note before it, so the index is a few bytes per 64 lines.
class ReportLines {
 public:
  // Drops the text and gives its memory back.
  void clear();
  // Throws std::bad_alloc when memory runs out; the text is then as it was.
  void append(std::string_view piece);

  std::string_view bytes() const { return {data_.get(), size_}; }
  // The lines after the last LF included: an empty text is one empty line.
  std::size_t lineCount() const { return lineFeeds_ + 1; }
  // Line `index` (below lineCount) without its LF.
  std::string_view line(std::size_t index) const;
  // The widest line in columns of a fixed-pitch font, an upper bound: a byte is a column (a
  // character of several bytes is never wider than its bytes), a tab eight.
  std::size_t widestColumns() const;

 private:
  static constexpr std::size_t kLinesPerMark = 64;
  static constexpr std::size_t kTabColumns = 8;

  static std::size_t columnsOf(std::string_view line, bool mayHoldTabs);
  void reserveFor(std::size_t more);

  struct FreeBytes {
    void operator()(char* bytes) const { std::free(bytes); }
  };
  std::unique_ptr<char, FreeBytes> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::size_t lineFeeds_ = 0;
  std::size_t lastLineStart_ = 0;
  std::size_t widestEnded_ = 0;  // of the lines that have their LF
  std::vector<std::size_t> marks_{0};
};

}  // namespace tarvel
