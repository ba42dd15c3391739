#include "listing/AllocationFailurePoint.h"

#include <new>
#include <thread>

namespace tarvel {

namespace {
std::atomic<long> left{0};
std::atomic<std::thread::id> armingThread;
}  // namespace

std::atomic<bool> AllocationFailurePoint::armed_{false};

void AllocationFailurePoint::arm(long passesBeforeFailure) {
  left = passesBeforeFailure;
  armingThread = std::this_thread::get_id();
  armed_ = true;
}

long AllocationFailurePoint::disarm() {
  armed_ = false;
  return left;
}

long AllocationFailurePoint::passesLeft() {
  return left;
}

void AllocationFailurePoint::failIfDue() {
  if (std::this_thread::get_id() == armingThread.load()) return;
  if (left.fetch_sub(1) <= 0) throw std::bad_alloc();
}

}  // namespace tarvel
