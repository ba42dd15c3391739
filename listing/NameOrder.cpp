#include "listing/NameOrder.h"

#include <algorithm>

#include "platform/TextRules.h"

namespace tarvel {

namespace {

constexpr const auto& kFold = kAsciiCase.lower;

}  // namespace

int compareNames(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int left = kFold[static_cast<unsigned char>(a[i])];
    const int right = kFold[static_cast<unsigned char>(b[i])];
    if (left != right) return left - right;
  }
  return static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size());
}

std::uint64_t orderKey(std::string_view name, std::size_t offset) {
  std::uint64_t key = 0;
  for (std::size_t i = offset; i < offset + 8; ++i) {
    key = (key << 8) | (i < name.size() ? kFold[static_cast<unsigned char>(name[i])] : 0u);
  }
  return key;
}

bool precedesInListing(std::string_view a, std::string_view b) {
  const int order = compareNames(a, b);
  return order != 0 ? order < 0 : a < b;
}

}  // namespace tarvel
