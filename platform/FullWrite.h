#pragma once

#include <string_view>

namespace tarvel {

// Writes every byte to `descriptor`, going on after interrupted and partial writes. Returns 0,
// or the errno of the failure; a write that makes no progress counts as a full disk (ENOSPC).
[[nodiscard]] int writeFully(int descriptor, std::string_view bytes);

}  // namespace tarvel
