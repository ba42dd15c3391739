#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// Paths use "/" and a folder path never ends with it, so the root folder's path is the
// empty text and joining "" with "etc" gives "/etc".

inline constexpr char kSeparator = '/';
// How the root folder shows where a path or folder name stands on its own.
inline constexpr std::string_view kRootText = "/";

// folder + "/" + name.
std::string joinPath(std::string_view folder, std::string_view name);
// The same, in place: `path` becomes path + "/" + name.
void appendPathComponent(std::string& path, std::string_view name);

// The text after the last "/", or the whole path when it holds none.
std::string_view lastPathComponent(std::string_view path);

// A file name cut at its last ".": what stands before it and after it. A name without "." is all
// stem, with no extension.
struct StemAndExtension {
  std::string_view stem;
  std::string_view extension;
  bool hasDot = false;
};
[[nodiscard]] StemAndExtension splitExtension(std::string_view name);

// The last component as a user sees it: the root shows as "/".
std::string_view displayName(std::string_view path);

// The path as a user sees it: the root shows as "/".
std::string_view displayPath(std::string_view path);

// The names between the separators of `path`, empty ones left out: "a//b/" gives "a", "b".
std::vector<std::string_view> pathNames(std::string_view path);

// Makes `path` absolute against `currentFolder` and normalises it lexically, without resolving
// links: repeated "/" and "." components go, ".." removes the component before it, and no
// trailing "/" is left. The root comes out as the empty text.
std::string normalizeAbsolute(std::string_view path, std::string_view currentFolder);

}  // namespace tarvel
