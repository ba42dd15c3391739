#pragma once

namespace tarvel {

// The processors this process may run on: those its affinity mask allows, and no more than its
// control group's processor quota (rounded up). At least 1. Read once, at the first call.
[[nodiscard]] unsigned usableProcessors();

// How many threads help the one that asks: one a usable processor beyond the first, to three
// (each more holds another buffer and another chain of descriptors).
[[nodiscard]] unsigned helperThreads();

}  // namespace tarvel
