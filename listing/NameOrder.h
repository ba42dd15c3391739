#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvel {

// The program's name order: bytes compared one by one as unsigned values, with only "A"-"Z"
// folded to "a"-"z"; a name comes before every longer one it begins. Everything
// beyond ASCII comes after ASCII, by code point.
int compareNames(std::string_view a, std::string_view b);

// compareNames, with the raw bytes deciding between names it finds equal, so the result does
// not depend on the order the names came in ("README" before "Readme" whatever readdir says).
bool precedesInListing(std::string_view a, std::string_view b);

// Eight bytes of a name from `offset` on, in that order, as one number (past its end, zeros).
// Names whose keys differ compare as their keys do, so a sort compares numbers, and looks
// further into names only where they agree.
std::uint64_t orderKey(std::string_view name, std::size_t offset = 0);

// Sorts `items` into the listing's name order; `nameOf(item)` gives an item's name.
template <typename Item, typename NameOf>
void sortByName(std::vector<Item>& items, NameOf nameOf) {
  if (items.size() < 16) {  // not worth the keys
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
      return precedesInListing(nameOf(a), nameOf(b));
    });
    return;
  }
  using Keyed = std::pair<std::uint64_t, Item>;
  std::vector<Keyed> keyed;
  keyed.reserve(items.size());
  for (const Item& item : items) keyed.emplace_back(orderKey(nameOf(item)), item);
  // Sorts [first, last), whose names agree before `offset`, by their keys at `offset`.
  const auto sortFrom = [&](auto& self, auto first, auto last, std::size_t offset) -> void {
    std::sort(first, last, [](const Keyed& a, const Keyed& b) { return a.first < b.first; });
    while (first != last) {
      const auto end =
          std::find_if(first, last, [&](const Keyed& k) { return k.first != first->first; });
      if (end - first > 1) {
        const bool longer = std::any_of(
            first, end, [&](const Keyed& k) { return nameOf(k.second).size() > offset + 8; });
        if (longer) {
          for (auto k = first; k != end; ++k) k->first = orderKey(nameOf(k->second), offset + 8);
          self(self, first, end, offset + 8);
        } else {
          // Equal but for case: the bytes decide, so the order never depends on the input's.
          std::sort(first, end, [&](const Keyed& a, const Keyed& b) {
            return nameOf(a.second) < nameOf(b.second);
          });
        }
      }
      first = end;
    }
  };
  sortFrom(sortFrom, keyed.begin(), keyed.end(), 0);
  for (std::size_t i = 0; i < items.size(); ++i) items[i] = keyed[i].second;
}

}  // namespace tarvel
