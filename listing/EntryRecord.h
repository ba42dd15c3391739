#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel {

enum class EntryType { Folder, File, Link, Other };

// One entry as a structured listing gives it: what a single `fstatat` of the entry itself
// (never through a link) tells.
struct EntryRecord {
  std::string_view name;  // raw bytes
  EntryType type = EntryType::File;
  bool hasStatus = false;  // false when the entry could not be looked at: no size, no time
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // seconds since 1970, UTC

  static EntryRecord fromStatus(std::string_view name, const struct stat& info);
  static EntryRecord fromStatus(std::string_view name, mode_t mode, std::uint64_t size,
                                std::int64_t modified);
};

std::string_view entryTypeName(EntryType type);

// "2026-12-08T06:04:43Z"; false for an instant outside the years 0 to 9999, which the file
// system may hold but the format cannot write.
[[nodiscard]] bool appendUtcTime(std::string& out, std::int64_t seconds);

// Appends `bytes` with every byte that is not part of valid UTF-8 replaced by U+FFFD; returns
// whether any was.
bool appendValidUtf8(std::string& out, std::string_view bytes);

}  // namespace tarvel
