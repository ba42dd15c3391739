// Lists a folder with the read-ahead at its default and with none (the walk reads every folder
// itself), names only and with sizes and full paths, alternating the two so that the page cache
// and the machine's load treat them alike. Prints one Markdown table row per option set.
//
//   tarvel_read_ahead_bench FOLDER [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "listing/DiskSource.h"
#include "listing/ExtensionPatterns.h"
#include "listing/FolderWalk.h"
#include "listing/WalkObservers.h"

using namespace tarvel;

namespace {

double listMilliseconds(DiskSource& source, const ListingOptions& options,
                        const std::string& folder) {
  const auto start = std::chrono::steady_clock::now();
  ExtensionPatterns patterns;
  RunState state;
  std::string report;
  NoProgress progress;
  NoWarnings warnings;
  static_cast<void>(
      FolderWalk(options, patterns, state, report, progress, warnings).walk(source, {"", folder}));
  source.finish();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER [RUNS]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
  ListingOptions sized;
  sized.includeFileSize = true;
  sized.pathMode = PathMode::AbsolutePath;
  sized.applyPathOptionsToFiles = true;
  const std::pair<const char*, ListingOptions> sets[] = {{"names only", {}},
                                                         {"sizes, full paths", sized}};
  std::printf("| listing | read-ahead (ms) | none (ms) | none / read-ahead |\n|---|--:|--:|--:|\n");
  for (const auto& [name, options] : sets) {
    DiskSource withHelpers;
    DiskSource alone(0);
    std::vector<double> ahead, without;
    listMilliseconds(withHelpers, options, folder);  // warm-up
    for (int run = 0; run < runs; ++run) {
      ahead.push_back(listMilliseconds(withHelpers, options, folder));
      without.push_back(listMilliseconds(alone, options, folder));
    }
    std::printf("| %s | %.1f | %.1f | %.2f |\n", name, median(ahead), median(without),
                median(without) / median(ahead));
  }
  return 0;
}
