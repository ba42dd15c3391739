#pragma once

#include <cstddef>
#include <string_view>

namespace tarvel {

// Every line of a report ends so, on every system: the report is the same bytes wherever it is
// made, shown or saved.
inline constexpr std::string_view kLineEnd = "\r\n";

// A report is passed on (written out, shown) a piece of this many bytes at a time: a piece
// small enough to stay in memory already in use.
inline constexpr std::size_t kReportPieceBytes = std::size_t{1} << 20;

}  // namespace tarvel
