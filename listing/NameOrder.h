#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The program's name order: bytes compared one by one as unsigned values, with only "A"-"Z"
// folded to "a"-"z"; the end of a name counts as 0, so a prefix comes first. Everything
// beyond ASCII comes after ASCII, by code point.
int compareNames(std::string_view a, std::string_view b);

// compareNames, with the raw bytes deciding between names it finds equal, so the result does
// not depend on the order the names came in ("README" before "Readme" whatever readdir says).
bool precedesInListing(std::string_view a, std::string_view b);

}  // namespace tarvel
