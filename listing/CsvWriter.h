#pragma once

#include "listing/StructuredWriter.h"

namespace tarvel {

// One CSV row per entry (RFC 4180, UTF-8, rows ended by CR LF) after the header row
// "path,type,size,modified"; the path is relative to the selected folder, "/" between names,
// the selected item itself has no row (a file named alone has its own name as path). Bytes
// that are not valid UTF-8 become U+FFFD. A field holding a comma, a quote, or a control
// character (line breaks among them) is quoted. A field starting with "=", "+", "-", "@", a
// tab or a carriage return gets a "'" in front, so that a spreadsheet does not run it as a
// formula.
class CsvWriter final : public StructuredWriter {
 public:
  using StructuredWriter::StructuredWriter;

  bool foldersHoldEntries() const override { return false; }
  void begin(std::string_view path, const EntryRecord& item) override;
  void entry(std::string_view path, const EntryRecord& record, bool opens) override;
  void closeFolder() override {}

 private:
  void finish(std::int64_t /*files*/, std::int64_t /*folders*/) override {}
  void appendRow(std::string_view path, const EntryRecord& record);
  void appendField(std::string_view value);

  std::string scratch_;
};

}  // namespace tarvel
