#include "listing/EntryRecord.h"

#include <cstdio>
#include <ctime>

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
  const auto instant = static_cast<std::time_t>(seconds);
  std::tm parts{};
  if (::gmtime_r(&instant, &parts) == nullptr) return false;
  const long long year = 1900LL + parts.tm_year;
  if (year < 0 || year > 9999) return false;
  char text[24];
  const int length =
      std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02dZ", year, parts.tm_mon + 1,
                    parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  out.append(text, static_cast<std::size_t>(length));
  return true;
}

bool appendValidUtf8(std::string& out, std::string_view bytes) {
  bool replaced = false;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t character = 0;
    const std::size_t length = decodeCharacter(bytes, i, character);
    if (character >= kInvalidByteBase && character <= kInvalidByteBase + 0xFF) {
      out.append("\xEF\xBF\xBD");
      replaced = true;
    } else {
      out.append(bytes.substr(i, length));
    }
    i += length;
  }
  return replaced;
}

}  // namespace tarvel
