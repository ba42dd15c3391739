#include "listing/FolderSize.h"

#include <sys/stat.h>

#include <vector>

#include "platform/DirectoryReader.h"
#include "platform/PathRules.h"

namespace tarvel {

namespace {

// Sums the files directly in each folder, working through a list of folders still to read. A
// folder is read to its end and closed before any of its subfolders is opened, so a deep tree
// holds one descriptor at a time, never one per level.
std::uint64_t sumFolders(std::vector<std::string> pending, bool includeSubfolders,
                         std::stop_token stop) {
  DirectoryReader reader;
  DirectoryEntry entry;
  std::uint64_t total = 0;
  bool first = true;
  while (!pending.empty() && !stop.stop_requested()) {
    const std::string folder = std::move(pending.back());
    pending.pop_back();
    // The folder asked for may be a link to a folder; links below it are never followed.
    const bool opened = reader.open(folder.c_str(), first);
    first = false;
    if (!opened) continue;
    while (reader.next(entry, true)) {
      if (!entry.isFolder) {
        total += entry.size;
      } else if (includeSubfolders && !entry.isSymlink) {
        pending.push_back(joinPath(folder, entry.name));
      }
    }
    reader.close();
  }
  return total;
}

}  // namespace

std::uint64_t sumFolderSize(const std::string& path, bool pathIsEntry, bool includeSubfolders,
                            std::stop_token stop) {
  if (pathIsEntry) {
    struct stat info {};
    if (::lstat(std::string(displayPath(path)).c_str(), &info) != 0) return 0;
    if (!S_ISDIR(info.st_mode)) return static_cast<std::uint64_t>(info.st_size);
    if (!includeSubfolders) return 0;
  }
  return sumFolders({path}, includeSubfolders, std::move(stop));
}

std::string sizeLine(std::uint64_t total) {
  constexpr std::uint64_t kUnit = 1024;
  static const char* const kUnits[] = {"  Kilooctets", "  Megaoctets", "  Gigaoctets"};
  const std::string start = "Taille du dossier:  ";
  if (total < kUnit) return start + std::to_string(total) + "  Octets";

  std::uint64_t divisor = kUnit;
  int unit = 0;
  while (unit < 2 && total >= divisor * kUnit) {
    divisor *= kUnit;
    ++unit;
  }
  if (total >= divisor * kUnit) return "Trop grand";

  // One decimal, halves rounded up: the tenths are computed exactly on integers, since
  // printf would round 1.25 to even ("1.2"). Below 2^40 bytes, total * 10 cannot overflow.
  const std::uint64_t tenths = (total * 10 + divisor / 2) / divisor;
  std::string value = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  if (value.size() < 5) value.resize(5, ' ');
  return start + value + kUnits[unit];
}

}  // namespace tarvel
