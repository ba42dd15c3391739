#include "platform/ProcessorCount.h"

#include <sched.h>

#include <algorithm>
#include <exception>
#include <fstream>
#include <string>

namespace tarvel {

namespace {

unsigned allowedByAffinity() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  return static_cast<unsigned>(std::max(CPU_COUNT(&set), 1));
}

// The quota of the process's own control group (unified hierarchy): "max" or a missing file
// sets no bound.
unsigned allowedByQuota(unsigned bound) {
  std::ifstream membership("/proc/self/cgroup");
  std::string line;
  std::string group;
  while (std::getline(membership, line)) {
    if (line.rfind("0::", 0) == 0) group = line.substr(3);
  }
  if (group.empty()) return bound;
  std::ifstream limit("/sys/fs/cgroup" + (group == "/" ? std::string{} : group) + "/cpu.max");
  std::string quotaText;
  unsigned long long period = 0;
  if (!(limit >> quotaText >> period) || quotaText == "max" || period == 0) return bound;
  try {
    const unsigned long long quota = std::stoull(quotaText);
    const unsigned long long processors = (quota + period - 1) / period;
    return static_cast<unsigned>(std::clamp<unsigned long long>(processors, 1, bound));
  } catch (const std::exception&) {
    return bound;
  }
}

}  // namespace

unsigned usableProcessors() {
  static const unsigned processors = allowedByQuota(allowedByAffinity());
  return processors;
}

unsigned helperThreads() {
  constexpr unsigned kMostHelpers = 3;
  return std::min(usableProcessors() - 1, kMostHelpers);
}

}  // namespace tarvel
