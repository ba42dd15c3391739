#include "platform/ProcessorCount.h"

#include <sched.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace tarvel {

namespace {

// The affinity mask's processors, and no more than the quota of the process's own control
// group (unified hierarchy) allows: "max", or no such file, sets no bound.
unsigned countUsable() {
  cpu_set_t set;
  CPU_ZERO(&set);
  const unsigned allowed =
      sched_getaffinity(0, sizeof set, &set) == 0 ? static_cast<unsigned>(CPU_COUNT(&set)) : 1;
  std::ifstream membership("/proc/self/cgroup");
  std::string group;
  for (std::string line; std::getline(membership, line);) {
    if (line.starts_with("0::")) group = line.substr(3);
  }
  std::ifstream limit("/sys/fs/cgroup" + (group == "/" ? std::string{} : group) + "/cpu.max");
  unsigned long long quota = 0;
  unsigned long long period = 0;
  if (group.empty() || !(limit >> quota >> period) || period == 0) return std::max(allowed, 1u);
  const unsigned long long quotaProcessors = (quota + period - 1) / period;
  return static_cast<unsigned>(std::clamp<unsigned long long>(quotaProcessors, 1, allowed));
}

}  // namespace

unsigned usableProcessors() {
  static const unsigned processors = countUsable();
  return processors;
}

unsigned helperThreads() {
  constexpr unsigned kMostHelpers = 3;
  return std::min(usableProcessors() - 1, kMostHelpers);
}

}  // namespace tarvel
