#include "listing/EntryRecord.h"

#include <chrono>
#include <cstdio>

#include "platform/TextRules.h"

namespace tarvel {

EntryRecord EntryRecord::fromStatus(std::string_view name, const struct stat& info) {
  EntryRecord record{name};
  record.hasStatus = true;
  if (S_ISDIR(info.st_mode)) {
    record.type = EntryType::Folder;
  } else if (S_ISLNK(info.st_mode)) {
    record.type = EntryType::Link;
  } else if (!S_ISREG(info.st_mode)) {
    record.type = EntryType::Other;
  }
  record.size = static_cast<std::uint64_t>(info.st_size);
  record.modified = info.st_mtim.tv_sec;
  return record;
}

std::string_view entryTypeName(EntryType type) {
  switch (type) {
    case EntryType::Folder:
      return "folder";
    case EntryType::File:
      return "file";
    case EntryType::Link:
      return "link";
    case EntryType::Other:
      break;
  }
  return "other";
}

bool appendUtcTime(std::string& out, std::int64_t seconds) {
  using namespace std::chrono;
  // 0000-01-01T00:00:00Z and 9999-12-31T23:59:59Z; checked first, so no field overflows.
  constexpr std::int64_t kFirst = -62167219200;
  constexpr std::int64_t kLast = 253402300799;
  if (seconds < kFirst || seconds > kLast) return false;
  const sys_seconds instant{std::chrono::seconds{seconds}};
  const auto day = floor<days>(instant);
  const year_month_day date{day};
  const hh_mm_ss time{instant - day};
  char text[24];
  const int length = std::snprintf(
      text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
      static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
      static_cast<int>(time.seconds().count()));
  out.append(text, static_cast<std::size_t>(length));
  return true;
}

bool appendValidUtf8(std::string& out, std::string_view bytes) {
  bool replaced = false;
  for (std::size_t i = 0; i < bytes.size();) {
    // Most names are ASCII: such a run goes in one copy.
    std::size_t end = i;
    while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80) ++end;
    out.append(bytes.substr(i, end - i));
    if (end == bytes.size()) break;
    char32_t character = 0;
    const std::size_t length = decodeCharacter(bytes, end, character);
    if (character >= kInvalidByteBase && character <= kInvalidByteBase + 0xFF) {
      out.append("\xEF\xBF\xBD");
      replaced = true;
    } else {
      out.append(bytes.substr(end, length));
    }
    i = end + length;
  }
  return replaced;
}

}  // namespace tarvel
