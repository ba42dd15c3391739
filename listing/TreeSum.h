#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "platform/DirectoryStream.h"
#include "platform/FolderChain.h"

namespace tarvel {

// Sums the sizes of the files of a folder and, when asked, of every folder below it, on a few
// threads: their order does not matter, so each thread walks a part of the tree depth first
// with its own chain of folders, and gives a folder still to read to a thread that has none.
// Links are never followed below the top.
class TreeSum {
 public:
  struct Problem {
    std::string path;
    int error;
    bool isFolder;  // the folder could not be read, else a file's size
  };

  TreeSum(bool includeSubfolders, std::stop_token stop);
  TreeSum(const TreeSum&) = delete;
  TreeSum& operator=(const TreeSum&) = delete;

  // Sums the open folder `top`, named `topPath` in problems; at most the largest 64-bit value.
  std::uint64_t run(SharedFolder top, const std::string& topPath);
  // What could not be read, in path order.
  const std::vector<Problem>& problems() const { return problems_; }

 private:
  // A folder to sum: `name` in `parent`, or `parent` itself when `name` is empty.
  struct Task {
    SharedFolder parent;
    std::string name;
    std::string path;                          // of `parent`
    std::vector<FolderChain::Identity> above;  // the folders holding `parent`
  };
  // The subfolders of a folder of a thread's chain not entered yet, each followed by a NUL.
  struct Level {
    std::string names;
    std::size_t next = 0;
  };
  struct Worker {
    DirectoryStream stream;
    FolderChain chain{FolderChain::kDefaultBudget / 2};
    std::deque<Level> levels;
    std::size_t donateFrom = 0;  // no level above this one has a name left
    std::uint64_t total = 0;
    std::vector<Problem> problems;
  };

  void takePart(Task first);
  void sumTask(Worker& worker, Task task);
  void readLevel(Worker& worker, std::size_t depth, const std::string& topPath);
  void donate(Worker& worker, std::size_t depth, const std::string& topPath);
  bool nextTask(Task& task);
  void startHelpers();

  const bool includeSubfolders_;
  const std::stop_token stop_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Task> pool_;
  unsigned takingPart_ = 1;
  unsigned idle_ = 0;
  std::atomic<bool> wanted_{false};  // a thread waits for a folder and none is in the pool
  std::exception_ptr failure_;       // the first thread's failure ends every thread
  std::uint64_t total_ = 0;
  std::vector<Problem> problems_;
  // Last, so that the helpers are joined before what they share goes.
  std::vector<std::jthread> helpers_;
};

}  // namespace tarvel
