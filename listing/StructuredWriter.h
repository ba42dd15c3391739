#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "listing/EntryRecord.h"
#include "listing/LineEnd.h"
#include "listing/WalkObservers.h"

namespace tarvel {

// Writes a listing as data (one document for scripts) while the walk goes, handing it to a
// ReportOutput in pieces, so that however large the tree the document is never held whole.
class StructuredWriter {
 public:
  explicit StructuredWriter(ReportOutput& output) : output_(output) {}
  virtual ~StructuredWriter() = default;
  StructuredWriter(const StructuredWriter&) = delete;
  StructuredWriter& operator=(const StructuredWriter&) = delete;

  // Whether a folder must be written to hold its entries, even where folders are left out.
  virtual bool foldersHoldEntries() const = 0;
  // The selected item, `path` as the user sees it; a folder's entries follow.
  virtual void begin(std::string_view path, const EntryRecord& item) = 0;
  // One entry, `path` relative to the selected folder ("/" between names). With `opens`, the
  // entries that follow, up to closeFolder(), are the folder's.
  virtual void entry(std::string_view path, const EntryRecord& record, bool opens) = 0;
  virtual void closeFolder() = 0;
  // The counts, as the report's footer gives them; the document is then complete.
  void end(std::int64_t files, std::int64_t folders) {
    finish(files, folders);
    output_.write(text_);
    text_.clear();
  }

 protected:
  virtual void finish(std::int64_t files, std::int64_t folders) = 0;
  std::string& text() { return text_; }
  // Hands what is written over once it is large enough to be worth a write.
  void handOver() {
    if (text_.size() < kReportPieceBytes) return;
    output_.write(text_);
    text_.clear();
  }

 private:
  ReportOutput& output_;
  std::string text_;
};

}  // namespace tarvel
