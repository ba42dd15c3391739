#pragma once

#include <atomic>

namespace tarvel {

// A point the engine's buffers pass before they grow, where tests make memory run out as it
// does on a crowded machine. Armed, it throws std::bad_alloc on the threads other than the one
// that armed it, once they have passed it a given number of times. Disarmed, it costs one
// relaxed load.
class AllocationFailurePoint {
 public:
  static void pass() {
    if (armed_.load(std::memory_order_relaxed)) failIfDue();
  }
  // Passes left on other threads before each further one fails (0: the next one fails).
  static void arm(long passesBeforeFailure);
  // Disarms it; returns the passes that were left, negative once one failed.
  static long disarm();
  // The passes left now.
  static long passesLeft();

 private:
  static void failIfDue();

  static std::atomic<bool> armed_;
};

}  // namespace tarvel
