// The listing's name order is a strict weak order, and sorting by it does not depend on the
// order names come in nor on the way of sorting.
#include <algorithm>

#include "FuzzInput.h"
#include "listing/NameOrder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvel;
  auto names = FuzzInput(data, size).texts();
  if (names.size() > 24) names.resize(24);  // the transitivity check takes every triple
  for (const auto& a : names) {
    FUZZ_CHECK(!precedesInListing(a, a));
    FUZZ_CHECK(compareNames(a, a) == 0);
    for (const auto& b : names) {
      FUZZ_CHECK(!(precedesInListing(a, b) && precedesInListing(b, a)));
      FUZZ_CHECK((compareNames(a, b) < 0) == (compareNames(b, a) > 0));
      // Only names equal byte for byte tie in the listing.
      FUZZ_CHECK(precedesInListing(a, b) || precedesInListing(b, a) || a == b);
      for (const auto& c : names)
        if (precedesInListing(a, b) && precedesInListing(b, c)) FUZZ_CHECK(precedesInListing(a, c));
    }
  }
  auto reversed = names;
  std::reverse(reversed.begin(), reversed.end());
  auto byKeys = names;
  std::sort(names.begin(), names.end(), precedesInListing);
  std::sort(reversed.begin(), reversed.end(), precedesInListing);
  FUZZ_CHECK(names == reversed);
  // Sixteen names or more are sorted by keys of their first bytes: to the same order.
  sortByName(byKeys, [](const std::string& name) { return std::string_view(name); });
  FUZZ_CHECK(names == byKeys);
  return 0;
}
