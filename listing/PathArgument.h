#pragma once

#include <optional>
#include <string>

#include "listing/ListingRun.h"

namespace tarvel {

// What a path given to a program names (the command line's PATH, the folder the window opens
// at start), as the listing, the folder size and the tree take it.
struct PathArgument {
  bool ok = false;
  SelectedItem item;  // its full path: ".." resolved by the file system, the rest as typed
  std::string error;  // one French line when !ok, naming the path quoted for a terminal
};

// Finds what `path` names from the working folder. A relative path needs a working folder; a
// link is followed (a link that leads nowhere is an item of its own, as the window shows it);
// "file/" is not a folder.
[[nodiscard]] PathArgument resolvePathArgument(const std::string& path);

// `path` made absolute against the working folder, as text, so that messages name it in full;
// nullopt when a relative path has no working folder to start from.
[[nodiscard]] std::optional<std::string> absoluteFromWorkingFolder(const std::string& path);

}  // namespace tarvel
