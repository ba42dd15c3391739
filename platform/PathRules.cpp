#include "platform/PathRules.h"

#include <vector>

namespace tarvel {

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  appendPathComponent(joined, name);
  return joined;
}

void appendPathComponent(std::string& path, std::string_view name) {
  path.push_back(kSeparator);
  path.append(name);
}

std::string_view lastPathComponent(std::string_view path) {
  const auto slash = path.rfind(kSeparator);
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view displayName(std::string_view path) {
  return path.empty() ? kRootText : lastPathComponent(path);
}

std::string_view displayPath(std::string_view path) {
  return path.empty() ? kRootText : path;
}

namespace {

void appendComponents(std::string_view path, std::vector<std::string_view>& components) {
  std::size_t start = 0;
  while (start <= path.size()) {
    auto end = path.find(kSeparator, start);
    if (end == std::string_view::npos) end = path.size();
    const auto part = path.substr(start, end - start);
    if (part == "..") {
      if (!components.empty()) components.pop_back();
    } else if (!part.empty() && part != ".") {
      components.push_back(part);
    }
    start = end + 1;
  }
}

}  // namespace

std::string normalizeAbsolute(std::string_view path, std::string_view currentFolder) {
  std::vector<std::string_view> components;
  if (path.empty() || path.front() != kSeparator) appendComponents(currentFolder, components);
  appendComponents(path, components);
  std::string normalized;
  for (const auto part : components) {
    normalized.push_back(kSeparator);
    normalized.append(part);
  }
  return normalized;
}

}  // namespace tarvel
