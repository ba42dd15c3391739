#include "tests/support/TestTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace tarvel {

namespace fs = std::filesystem;

void check(bool ok, const std::string& what) {
  if (!ok) throw std::system_error(errno, std::generic_category(), what);
}

TestTree::TestTree(const char* base) {
  if (base == nullptr || ::access(base, W_OK) != 0) base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/tarvel-test-XXXXXX";
  check(::mkdtemp(pattern.data()) != nullptr, "mkdtemp " + pattern);
  root_ = pattern;
  // Tests that drop privileges must still reach the tree.
  check(::chmod(root_.c_str(), 0755) == 0, "chmod " + root_);
}

namespace {

// Removes `name` in the open folder `parent` and all below it, relative to descriptors, so that
// paths longer than the system accepts and folders made unreadable go too.
void removeAt(int parent, const char* name) {
  // At best: a folder made unreadable is opened, and anything else is removed regardless.
  [[maybe_unused]] const int unlocked = ::fchmodat(parent, name, 0755, 0);
  const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) {
    ::unlinkat(parent, name, 0);
    return;
  }
  if (DIR* entries = ::fdopendir(::dup(folder))) {
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(entries)) names.emplace_back(entry->d_name);
    ::closedir(entries);
    for (const auto& entryName : names)
      if (entryName != "." && entryName != "..") removeAt(folder, entryName.c_str());
  }
  ::close(folder);
  ::unlinkat(parent, name, AT_REMOVEDIR);
}

}  // namespace

TestTree::~TestTree() {
  removeAt(AT_FDCWD, root_.c_str());
}

std::string TestTree::path(std::string_view relative) const {
  return relative.empty() ? root_ : root_ + "/" + std::string(relative);
}

void TestTree::createDir(std::string_view relative) {
  fs::create_directories(path(relative));
}

void TestTree::createFile(std::string_view relative, std::string_view bytes) {
  const std::string full = path(relative);
  fs::create_directories(fs::path(full).parent_path());
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + full);
}

void TestTree::createSparseFile(std::string_view relative, std::uint64_t size) {
  createFile(relative);
  check(::truncate(path(relative).c_str(), static_cast<off_t>(size)) == 0, "truncate");
}

void TestTree::createSymlink(std::string_view relative, std::string_view target) {
  const std::string full = path(relative);
  fs::create_directories(fs::path(full).parent_path());
  check(::symlink(std::string(target).c_str(), full.c_str()) == 0, "symlink " + full);
}

void TestTree::createNestedDirs(std::string_view relative, const std::string& name, int levels,
                                off_t leafSize) {
  createDir(relative);
  int parent = ::open(path(relative).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  check(parent >= 0, "open " + path(relative));
  for (int level = 0; level < levels && parent >= 0; ++level) {
    check(::mkdirat(parent, name.c_str(), 0755) == 0, "mkdirat " + name);
    const int child = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(parent);
    parent = child;
    check(parent >= 0, "openat " + name);
  }
  const int leaf = ::openat(parent, "leaf", O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
  check(leaf >= 0 && ::ftruncate(leaf, leafSize) == 0, "leaf");
  ::close(leaf);
  ::close(parent);
}

void TestTree::createEmptyFiles(std::string_view relative, int count) {
  createDir(relative);
  const int folder = ::open(path(relative).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  check(folder >= 0, "open " + path(relative));
  for (int i = 0; i < count; ++i) {
    const int file = ::openat(folder, ("f" + std::to_string(1000000 + i)).c_str(),
                              O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    check(file >= 0, "openat");
    ::close(file);
  }
  ::close(folder);
}

void TestTree::setMode(std::string_view relative, mode_t mode) {
  check(::chmod(path(relative).c_str(), mode) == 0, "chmod " + path(relative));
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> filesIn(const std::string& folder,
                                 std::initializer_list<std::string_view> endings) {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(folder))
    for (const std::string_view ending : endings)
      if (entry.path().string().ends_with(ending)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string TestTree::readFile(std::string_view relative) const {
  return readWholeFile(path(relative));
}

}  // namespace tarvel
