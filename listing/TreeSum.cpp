#include "listing/TreeSum.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <limits>

#include "platform/PathRules.h"
#include "platform/ProcessorCount.h"
#include "platform/ScopeExit.h"

namespace tarvel {

namespace {

std::uint64_t addSaturating(std::uint64_t total, std::uint64_t size) {
  std::uint64_t sum = 0;
  return __builtin_add_overflow(total, size, &sum) ? std::numeric_limits<std::uint64_t>::max()
                                                   : sum;
}

}  // namespace

TreeSum::TreeSum(bool includeSubfolders, std::stop_token stop)
    : includeSubfolders_(includeSubfolders), stop_(std::move(stop)) {}

std::uint64_t TreeSum::run(SharedFolder top, const std::string& topPath) {
  takePart({std::move(top), {}, topPath, {}});
  helpers_.clear();  // joins them
  if (failure_) std::rethrow_exception(failure_);
  std::sort(problems_.begin(), problems_.end(),
            [](const Problem& a, const Problem& b) { return a.path < b.path; });
  return total_;
}

void TreeSum::takePart(Task first) {
  try {
    Worker worker;
    if (first.parent) sumTask(worker, std::move(first));
    for (Task task; nextTask(task);) sumTask(worker, std::move(task));
    const std::lock_guard lock(mutex_);
    total_ = addSaturating(total_, worker.total);
    problems_.insert(problems_.end(), worker.problems.begin(), worker.problems.end());
  } catch (...) {
    const std::lock_guard lock(mutex_);
    if (!failure_) failure_ = std::current_exception();
    changed_.notify_all();
  }
}

void TreeSum::startHelpers() {
  const unsigned wanted = helperThreads();
  for (unsigned i = 0; i < wanted; ++i) {
    {
      const std::lock_guard lock(mutex_);
      ++takingPart_;
    }
    try {
      helpers_.emplace_back([this] { takePart({}); });
    } catch (const std::exception&) {
      // No thread, or no memory for its state: fewer threads share the work.
      const std::lock_guard lock(mutex_);
      --takingPart_;
      return;
    }
  }
}

bool TreeSum::nextTask(Task& task) {
  std::unique_lock lock(mutex_);
  ++idle_;
  for (;;) {
    if (failure_) return false;
    if (!pool_.empty()) {
      --idle_;
      task = std::move(pool_.back());
      pool_.pop_back();
      wanted_ = idle_ > 0 && pool_.empty();
      return true;
    }
    if (idle_ == takingPart_) {  // no work left anywhere: every thread ends
      changed_.notify_all();
      return false;
    }
    wanted_ = true;
    changed_.wait(lock);
  }
}

void TreeSum::sumTask(Worker& worker, Task task) {
  FolderChain& chain = worker.chain;
  chain.start(std::move(task.parent), std::move(task.above));
  // A thread waiting for work holds no descriptor.
  const ScopeExit clearChain{[&chain] { chain.clear(); }};
  worker.donateFrom = 0;
  if (task.name.empty()) {
    readLevel(worker, 0, task.path);
    // Only the first task is the top: it starts the helpers once, if there is work to share.
    if (!worker.levels[0].names.empty()) startHelpers();
  } else {
    // A folder handed over is entered from the one holding it, as every other folder is.
    if (worker.levels.empty()) worker.levels.emplace_back();
    worker.levels[0] = {task.name + '\0', 0};
  }
  std::size_t depth = 0;
  for (;;) {
    if (wanted_.load(std::memory_order_relaxed)) donate(worker, depth, task.path);
    while (worker.levels[depth].next >= worker.levels[depth].names.size()) {
      if (depth == 0) return;
      --depth;
    }
    // Each thread sees the request at its next folder; a thread given work after it reads
    // one folder and stops there.
    if (stop_.stop_requested()) return;
    Level& level = worker.levels[depth];
    const char* name = level.names.c_str() + level.next;
    level.next += std::strlen(name) + 1;
    chain.leaveTo(depth + 1);
    if (!chain.enter(name)) {
      worker.problems.push_back({joinPath(chain.pathOf(task.path, depth), name), errno, true});
      continue;
    }
    readLevel(worker, ++depth, task.path);
  }
}

void TreeSum::readLevel(Worker& worker, std::size_t depth, const std::string& topPath) {
  if (worker.levels.size() <= depth) worker.levels.emplace_back();
  Level& level = worker.levels[depth];
  level.names.clear();
  level.next = 0;
  worker.donateFrom = std::min(worker.donateFrom, depth);
  std::size_t entries = 0;
  DirectoryStream& stream = worker.stream;
  stream.start(worker.chain.openAt(depth)->get());
  for (DirectoryEntry entry; stream.next(entry, true);) {
    // Every link counts its own size, a link to a folder too, as `du` counts it.
    const bool entered = entry.isFolder && !entry.isSymlink;
    if (!entered) {
      if (entry.sizeError == 0) {
        worker.total = addSaturating(worker.total, entry.size);
      } else {
        worker.problems.push_back(
            {joinPath(worker.chain.pathOf(topPath, depth), entry.name), entry.sizeError, false});
      }
    } else if (includeSubfolders_) {
      level.names.append(entry.name);
      level.names.push_back('\0');
    }
    // Within a large folder too; the thread then stops at its next folder.
    if (++entries % kEntriesBetweenStopChecks == 0 && stop_.stop_requested()) break;
  }
  if (stream.error() != 0) {
    worker.problems.push_back({worker.chain.pathOf(topPath, depth), stream.error(), true});
  }
}

// Gives the first subfolder left at the shallowest level, the largest piece of work most
// likely, to a thread waiting for one, unless it is the last this thread has to do.
void TreeSum::donate(Worker& worker, std::size_t depth, const std::string& topPath) {
  const auto hasNames = [&](std::size_t k) {
    return worker.levels[k].next < worker.levels[k].names.size();
  };
  while (worker.donateFrom <= depth && !hasNames(worker.donateFrom)) ++worker.donateFrom;
  for (std::size_t k = worker.donateFrom; k <= depth; ++k) {
    if (!hasNames(k)) continue;
    Level& level = worker.levels[k];
    const char* name = level.names.c_str() + level.next;
    const std::size_t after = level.next + std::strlen(name) + 1;
    bool moreLeft = after < level.names.size();
    for (std::size_t j = depth; !moreLeft && j > k; --j) moreLeft = hasNames(j);
    SharedFolder parent = worker.chain.openAt(k);
    if (!moreLeft) return;
    if (!parent) continue;
    Task task{std::move(parent), name, worker.chain.pathOf(topPath, k), worker.chain.lineage(k)};
    level.next = after;
    const std::lock_guard lock(mutex_);
    pool_.push_back(std::move(task));
    wanted_ = false;
    changed_.notify_one();
    return;
  }
}

}  // namespace tarvel
