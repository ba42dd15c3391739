// The folder size line: tenths rounded half up, exactly, against 128-bit arithmetic.
#include <cstring>

#include "FuzzInput.h"
#include "listing/FolderSize.h"

__extension__ typedef unsigned __int128 Wide;  // beyond any 64-bit total times 10

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvel;
  std::uint64_t total = 0;
  std::memcpy(&total, data, std::min(size, sizeof total));
  const std::string line = sizeLine(total);
  const std::string start = "Taille du dossier:  ";
  if (total < 1024) {
    FUZZ_CHECK(line == start + std::to_string(total) + "  Octets");
    return 0;
  }
  Wide divisor = 1024;
  int unit = 0;
  while (unit < 2 && total >= divisor * 1024) divisor *= 1024, ++unit;
  if (total >= divisor * 1024) {
    FUZZ_CHECK(line == "Trop grand");
    return 0;
  }
  const auto tenths = static_cast<std::uint64_t>((total * Wide{10} + divisor / 2) / divisor);
  std::string value = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  value.resize(std::max<std::size_t>(value.size(), 5), ' ');
  static const char* const kUnits[] = {"  Kilooctets", "  Megaoctets", "  Gigaoctets"};
  FUZZ_CHECK(line == start + value + kUnits[unit]);
  return 0;
}
