#pragma once

#include <string_view>

namespace tarvel {

// The program's version, as the build declares it.
inline constexpr std::string_view kVersion = TARVEL_VERSION;

}  // namespace tarvel
