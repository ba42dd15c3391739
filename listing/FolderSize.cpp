#include "listing/FolderSize.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "listing/TreeSum.h"
#include "platform/OpenFolder.h"
#include "platform/PathRules.h"

namespace tarvel {

std::uint64_t sumFolderSize(const std::string& path, bool pathIsEntry, bool includeSubfolders,
                            std::stop_token stop, ReadProblems* problems, std::string_view reach) {
  const std::string_view where = reach.empty() ? displayPath(path) : reach;
  if (pathIsEntry) {
    struct stat info {};
    if (!statPath(where, info, false)) return 0;
    if (!S_ISDIR(info.st_mode)) return static_cast<std::uint64_t>(info.st_size);
    if (!includeSubfolders) return 0;
  }
  // The folder asked for may be a link to a folder; links below it are never followed.
  const SharedFolder top = shareFolder(openFolderPath(where));
  if (!top) {
    if (problems != nullptr) problems->folderUnreadable(displayPath(path), errno);
    return 0;
  }
  TreeSum sum(includeSubfolders, std::move(stop));
  const std::uint64_t total = sum.run(top, path);
  if (problems != nullptr) {
    for (const auto& problem : sum.problems()) {
      if (problem.isFolder) {
        problems->folderUnreadable(displayPath(problem.path), problem.error);
      } else {
        problems->sizeUnreadable(problem.path, problem.error);
      }
    }
  }
  return total;
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
  value.resize(std::max<std::size_t>(value.size(), 5), ' ');
  return start + value + kUnits[unit];
}

}  // namespace tarvel
