#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// Throws, with errno and `what`, unless `ok`: a test's own set-up failing.
void check(bool ok, const std::string& what);
// The bytes of the file at `path`; empty when it cannot be read.
std::string readWholeFile(const std::string& path);
// The paths of the files in `folder` whose names end with one of `endings`, sorted.
std::vector<std::string> filesIn(const std::string& folder,
                                 std::initializer_list<std::string_view> endings);

// What `work` returns, run with the soft limit on open descriptors lowered to `limit`.
template <typename Work>
auto withDescriptorLimit(long limit, Work work) {
  rlimit saved{};
  check(::getrlimit(RLIMIT_NOFILE, &saved) == 0, "getrlimit");
  const rlimit low{static_cast<rlim_t>(limit), saved.rlim_max};
  check(::setrlimit(RLIMIT_NOFILE, &low) == 0, "setrlimit");
  auto result = work();
  ::setrlimit(RLIMIT_NOFILE, &saved);
  return result;
}

// A real folder tree in a fresh temporary folder, removed with everything in it (permissions
// restored first) when the object goes. Paths given to it are relative to its root; parent
// folders are created as needed.
class TestTree {
 public:
  // In `base` (default: $TMPDIR, else /tmp); a base in memory such as /dev/shm makes large trees
  // quick to build and remove.
  explicit TestTree(const char* base = nullptr);
  ~TestTree();
  TestTree(const TestTree&) = delete;
  TestTree& operator=(const TestTree&) = delete;

  const std::string& root() const { return root_; }
  std::string path(std::string_view relative) const;

  void createDir(std::string_view relative);
  void createFile(std::string_view relative, std::string_view bytes = {});
  // A file of `size` bytes that takes no room on disk.
  void createSparseFile(std::string_view relative, std::uint64_t size);
  // `levels` folders named `name`, each in the one before, below the folder `relative`, with a
  // file "leaf" of `leafSize` bytes in the deepest. Made by descriptor, so the deepest paths
  // may be longer than any path the system accepts.
  void createNestedDirs(std::string_view relative, const std::string& name, int levels,
                        off_t leafSize = 0);
  // `count` empty files "f1000000", "f1000001"... in the folder `relative`, made by descriptor.
  void createEmptyFiles(std::string_view relative, int count);
  void createSymlink(std::string_view relative, std::string_view target);
  void setMode(std::string_view relative, mode_t mode);
  std::string readFile(std::string_view relative) const;

 private:
  std::string root_;
};

}  // namespace tarvel
