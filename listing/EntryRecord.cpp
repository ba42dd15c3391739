#include "listing/EntryRecord.h"

#include <chrono>

#include "platform/TextRules.h"

namespace tarvel {

EntryRecord EntryRecord::fromStatus(std::string_view name, const struct stat& info) {
  return fromStatus(name, info.st_mode, static_cast<std::uint64_t>(info.st_size),
                    info.st_mtim.tv_sec);
}

EntryRecord EntryRecord::fromStatus(std::string_view name, mode_t mode, std::uint64_t size,
                                    std::int64_t modified) {
  EntryRecord record{name};
  record.hasStatus = true;
  if (S_ISDIR(mode)) {
    record.type = EntryType::Folder;
  } else if (S_ISLNK(mode)) {
    record.type = EntryType::Link;
  } else if (!S_ISREG(mode)) {
    record.type = EntryType::Other;
  }
  record.size = size;
  record.modified = modified;
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
  // Digit by digit rather than by printf: one time per entry, on the walk's own thread.
  char text[] = "0000-00-00T00:00:00Z";
  const auto put = [&text](std::size_t at, unsigned value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10)
      text[at + static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
  };
  put(0, static_cast<unsigned>(static_cast<int>(date.year())), 4);
  put(5, static_cast<unsigned>(date.month()), 2);
  put(8, static_cast<unsigned>(date.day()), 2);
  put(11, static_cast<unsigned>(time.hours().count()), 2);
  put(14, static_cast<unsigned>(time.minutes().count()), 2);
  put(17, static_cast<unsigned>(time.seconds().count()), 2);
  out.append(text, sizeof text - 1);
  return true;
}

bool appendValidUtf8(std::string& out, std::string_view bytes) {
  bool replaced = false;
  for (std::size_t i = 0;;) {  // ends with the last ASCII run, empty or not
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
