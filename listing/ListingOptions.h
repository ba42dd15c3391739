#pragma once

#include <string>

namespace tarvel {

enum class PathMode : int { NoPath = 1, RelativePath = 2, AbsolutePath = 3 };

enum class SeparatorPlacement : int {
  AfterDirectoryName = 1,
  AfterAllDirectories = 2,
  AfterNonEmptyDirectory = 3,
};

// Every setting that shapes a listing, with the values a fresh start begins with. The first
// six are edited in the main window, the rest in the formatting options dialog.
struct ListingOptions {
  bool includeSubfolders = true;
  bool extractTree = false;
  bool noFolders = false;
  bool noFiles = false;
  bool extensionFilterOn = false;
  std::string extensionFilter;

  bool includeHeader = false;
  bool includeFooter = false;
  bool removeExtension = false;
  bool capitalizeNames = true;
  bool jukeboxMode = false;
  bool treeStyle = true;
  bool applyPathOptionsToFiles = false;
  bool separatorOn = true;
  std::string separatorText = "%-/";
  SeparatorPlacement separatorPlacement = SeparatorPlacement::AfterNonEmptyDirectory;
  PathMode pathMode = PathMode::NoPath;
  bool includeFileSize = false;

  bool operator==(const ListingOptions&) const = default;
};

}  // namespace tarvel
