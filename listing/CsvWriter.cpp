#include "listing/CsvWriter.h"

#include <algorithm>
#include <charconv>

namespace tarvel {

void CsvWriter::begin(std::string_view /*path*/, const EntryRecord& item) {
  text() += "path,type,size,modified\r\n";
  if (item.type != EntryType::Folder) appendRow(item.name, item);
}

void CsvWriter::entry(std::string_view path, const EntryRecord& record, bool /*opens*/) {
  appendRow(path, record);
  handOver();
}

void CsvWriter::appendRow(std::string_view path, const EntryRecord& record) {
  std::string& out = text();
  appendField(path);
  out += ',';
  out += entryTypeName(record.type);
  out += ',';
  if (record.hasStatus && (record.type == EntryType::File || record.type == EntryType::Link)) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, record.size).ptr;
    out.append(digits, end);
  }
  out += ',';
  // An instant the format cannot write leaves the field empty: nothing is appended then.
  if (record.hasStatus) static_cast<void>(appendUtcTime(out, record.modified));
  out += "\r\n";
}

void CsvWriter::appendField(std::string_view value) {
  scratch_.clear();
  if (!value.empty() &&
      std::string_view("=+-@\t\r").find(value.front()) != std::string_view::npos) {
    scratch_ += '\'';
  }
  appendValidUtf8(scratch_, value);
  const bool quoted = std::ranges::any_of(scratch_, [](char c) {
    return c == ',' || c == '"' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  if (!quoted) {
    text() += scratch_;
    return;
  }
  std::string& out = text();
  out += '"';
  for (const char c : scratch_) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace tarvel
