#include "listing/JsonWriter.h"

#include <charconv>

namespace tarvel {

namespace {

void appendEscapedByte(std::string& out, unsigned char byte) {
  constexpr char kHexDigits[] = "0123456789abcdef";
  out += "\\u00";
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xF];
}

}  // namespace

void JsonWriter::begin(std::string_view path, const EntryRecord& item) {
  text() += '{';
  appendFields("path", path, item);
  topIsFolder_ = item.type == EntryType::Folder;
  if (topIsFolder_) text() += ",\"contents\":[";
  firstInFolder_ = true;
}

void JsonWriter::entry(std::string_view /*path*/, const EntryRecord& record, bool opens) {
  if (!firstInFolder_) text() += ',';
  text() += "\n{";
  appendFields("name", record.name, record);
  if (opens) {
    text() += ",\"contents\":[";
    firstInFolder_ = true;
  } else {
    text() += '}';
    firstInFolder_ = false;
    handOver();
  }
}

void JsonWriter::closeFolder() {
  text() += "]}";
  firstInFolder_ = false;
  handOver();
}

void JsonWriter::finish(std::int64_t files, std::int64_t folders) {
  if (topIsFolder_) text() += ']';
  appendCount("files", files);
  appendCount("folders", folders);
  text() += "}\n";
}

void JsonWriter::appendFields(std::string_view nameKey, std::string_view name,
                              const EntryRecord& record) {
  std::string& out = text();
  out += '"';
  out += nameKey;
  out += "\":";
  scratch_.clear();
  const bool replaced = appendValidUtf8(scratch_, name);
  appendString(scratch_);
  if (replaced) {
    out += ",\"";
    out += nameKey;
    out += "_bytes\":";
    // Each byte as the character of the same number, escaped as JSON needs.
    out += '"';
    for (const char byte : name) {
      const auto value = static_cast<unsigned char>(byte);
      if (value >= 0x20 && value < 0x7F && value != '"' && value != '\\') {
        out += byte;
      } else {
        appendEscapedByte(out, value);
      }
    }
    out += '"';
  }
  out += R"(,"type":")";
  out += entryTypeName(record.type);
  out += '"';
  if (!record.hasStatus) return;
  if (record.type == EntryType::File || record.type == EntryType::Link) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, record.size).ptr;
    out += ",\"size\":";
    out.append(digits, end);
  }
  scratch_.clear();
  // An instant the format cannot write leaves "modified" out.
  if (!appendUtcTime(scratch_, record.modified)) return;
  out += R"(,"modified":")";
  out += scratch_;
  out += '"';
}

// A JSON string: quotes and backslashes escaped, control characters as \u00XX; the runs
// between them copied whole.
void JsonWriter::appendString(std::string_view value) {
  std::string& out = text();
  out += '"';
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto code = static_cast<unsigned char>(value[i]);
    const bool plain = code >= 0x20 && code != 0x7F && code != '"' && code != '\\';
    if (plain) continue;
    out.append(value.substr(runStart, i - runStart));
    runStart = i + 1;
    if (code == '"' || code == '\\') {
      out += '\\';
      out += value[i];
    } else {
      appendEscapedByte(out, code);
    }
  }
  out.append(value.substr(runStart));
  out += '"';
}

void JsonWriter::appendCount(std::string_view key, std::int64_t count) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, count).ptr;
  text() += ",\"";
  text() += key;
  text() += "\":";
  text().append(digits, end);
}

}  // namespace tarvel
