#include "platform/PathRules.h"

#include <algorithm>

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

StemAndExtension splitExtension(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos) return {name, {}, false};
  return {name.substr(0, dot), name.substr(dot + 1), true};
}

std::string_view displayName(std::string_view path) {
  return path.empty() ? kRootText : lastPathComponent(path);
}

std::string_view displayPath(std::string_view path) {
  return path.empty() ? kRootText : path;
}

std::vector<std::string_view> pathNames(std::string_view path) {
  std::vector<std::string_view> names;
  while (!path.empty()) {
    const std::size_t end = std::min(path.find(kSeparator), path.size());
    if (end > 0) names.push_back(path.substr(0, end));
    path.remove_prefix(std::min(end + 1, path.size()));
  }
  return names;
}

namespace {

void appendComponents(std::string_view path, std::vector<std::string_view>& components) {
  for (const std::string_view part : pathNames(path)) {
    if (part == "..") {
      if (!components.empty()) components.pop_back();
    } else if (part != ".") {
      components.push_back(part);
    }
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
