#pragma once

#include <string>

namespace tarvel {

// A tree item as the walk sees it: opaque, owned by the folder tree.
using ItemHandle = const void*;

enum class ItemKind { Folder, File };

// The item selected for a listing, as plain data.
struct SelectedItem {
  std::string text;  // its name as the tree shows it (raw bytes); "/" for the root
  std::string path;  // its full path without a trailing "/"; "" for the root
  ItemKind kind = ItemKind::Folder;
  ItemHandle item = nullptr;  // its tree item, for the tree source
  // How to reach it on the disk from the working folder, when not by `path`: the command line
  // opens the path as typed, so that "." works in a folder whose full path is too long.
  std::string reach = {};
};

}  // namespace tarvel
