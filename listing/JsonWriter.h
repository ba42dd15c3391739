#pragma once

#include "listing/StructuredWriter.h"

namespace tarvel {

// One JSON document shaped as the folder tree: a top object with the selected item's "path",
// its "type" and "modified", the "contents" of a folder, then the counts "files" and
// "folders"; each entry an object with "name", "type", "size" (files and links), "modified"
// and, for a folder the walk went into, "contents". A name that is not valid UTF-8 shows
// U+FFFD in "name" and every byte in "name_bytes": a string whose characters U+0000 to U+00FF
// are the bytes (Latin-1), so it is still valid JSON.
class JsonWriter final : public StructuredWriter {
 public:
  using StructuredWriter::StructuredWriter;

  bool foldersHoldEntries() const override { return true; }
  void begin(std::string_view path, const EntryRecord& item) override;
  void entry(std::string_view path, const EntryRecord& record, bool opens) override;
  void closeFolder() override;

 private:
  void finish(std::int64_t files, std::int64_t folders) override;
  void appendFields(std::string_view nameKey, std::string_view name, const EntryRecord& record);
  void appendString(std::string_view value);
  void appendCount(std::string_view key, std::int64_t count);

  std::string scratch_;
  bool firstInFolder_ = true;
  bool topIsFolder_ = false;
};

}  // namespace tarvel
