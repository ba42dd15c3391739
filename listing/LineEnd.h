#pragma once

#include <string_view>

namespace tarvel {

// Every line of a report ends so, on every system: the report is the same bytes wherever it is
// made, shown or saved.
inline constexpr std::string_view kLineEnd = "\r\n";

}  // namespace tarvel
