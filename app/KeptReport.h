#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct ZSTD_CCtx_s;

namespace tarvel {

// The report of the last listing, kept compressed for a save while the pane shows it. A report
// is mostly the same prefixes and names over and over: compressed as it comes (about 500 MB/s),
// a 35 MB report takes 6 MB beside the pane's own copy of its text, instead of 35.
class KeptReport {
 public:
  KeptReport();
  ~KeptReport();
  KeptReport(const KeptReport&) = delete;
  KeptReport& operator=(const KeptReport&) = delete;

  // Drops what was kept; the next `append` begins a new report.
  void clear();
  // Throws std::bad_alloc when memory runs out.
  void append(std::string_view bytes);
  // The report is whole; until then `bytes` gives nothing.
  void finish();
  // The report's bytes, as they were appended.
  std::string bytes() const;

 private:
  // Compresses what `input` holds, or with `end` also ends the compressed frame.
  void compress(std::string_view input, bool end);

  struct FreeContext {
    void operator()(ZSTD_CCtx_s* context) const;
  };
  std::unique_ptr<ZSTD_CCtx_s, FreeContext> context_;
  std::string compressed_;
  std::size_t used_ = 0;  // of `compressed_`, which grows ahead
  std::size_t size_ = 0;
  bool finished_ = false;
};

}  // namespace tarvel
