#pragma once

#include <string>
#include <string_view>

#include "listing/ListingRun.h"
#include "tests/support/TestTree.h"

namespace tarvel {

// Lists the folder `relative` of `tree` from the disk, as the window would with it selected.
inline std::string listFolder(ListingRun& run, const TestTree& tree, std::string_view relative,
                              const ListingOptions& options) {
  const std::string path = tree.path(relative);
  run.run({path.substr(path.rfind('/') + 1), path}, options);
  return run.report();
}

// Options without the start-up decorations, so a test names only what it looks at.
inline ListingOptions plainOptions() {
  ListingOptions options;
  options.capitalizeNames = options.separatorOn = false;
  return options;
}

}  // namespace tarvel
