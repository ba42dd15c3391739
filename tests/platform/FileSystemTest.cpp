#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/FolderChain.h"
#include "platform/OpenFolder.h"
#include "platform/SafeFileWriter.h"
#include "tests/support/ProcessRunner.h"
#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

// With only the top and the deepest folder kept open, going back up opens the others again by
// name: what holds that name then must be the very folder left, never another nor a link. A
// folder still kept open is the one entered, wherever it went meanwhile.
TEST(FolderChain, AFolderReplacedWhileClosedIsRefusedWhenOpenedAgain) {
  // what takes the place of top/a ("", a folder, a link), folders kept open, and the error
  // (0: reached; -1: refused by the system)
  const std::tuple<std::string, std::size_t, int> cases[] = {
      {"", 2, 0}, {"", 3, 0}, {"folder", 2, ESTALE}, {"link", 2, -1}, {"folder", 8, 0}};
  for (const auto& [replacement, budget, error] : cases) {
    TestTree tree;
    tree.createDir("top/a/b/c/d");
    tree.createDir("other/b/c");
    FolderChain chain(budget);
    chain.start(shareFolder(openFolderPath(tree.path("top"))));
    for (const char* name : {"a", "b", "c", "d"}) ASSERT_TRUE(chain.enter(name)) << name;
    EXPECT_EQ(chain.openAt(3) != nullptr, budget > 2);  // as many open as the budget allows
    chain.leaveTo(3);                                   // back in top/a/b
    if (!replacement.empty()) std::filesystem::rename(tree.path("top/a"), tree.path("old"));
    if (replacement == "folder") std::filesystem::rename(tree.path("other"), tree.path("top/a"));
    if (replacement == "link") tree.createSymlink("top/a", tree.path("old"));
    errno = 0;
    EXPECT_EQ(chain.deepest() != nullptr, error == 0) << replacement << budget;
    EXPECT_EQ(chain.openAt(1) != nullptr, error == 0 && budget > 2);  // and when opened again
    EXPECT_TRUE(error < 0 || errno == error) << replacement << " " << errno;
  }
  // Out of descriptors, the chain gives back one of its own rather than fail the walk, when
  // it has one to give.
  TestTree tree;
  tree.createDir("top/a/b/c/d");
  FolderChain chain(8);
  chain.start(shareFolder(openFolderPath(tree.path("top"))));
  const auto enterWithNoDescriptorFree = [&](const char* name) {
    const int next = ::dup(2);  // the lowest free descriptor: all below it are taken
    ::close(next);
    return withDescriptorLimit(next, [&] { return chain.enter(name); });
  };
  EXPECT_FALSE(enterWithNoDescriptorFree("a"));
  // With standard input closed, a folder gets descriptor 0: a folder like any other.
  EXPECT_EQ(runInChild([&] {
              ::dup2(2, 0);  // taken while the top opens, whatever the tests were started with
              FolderChain fresh;
              fresh.start(shareFolder(openFolderPath(tree.path("top"))));
              const int entered = ::close(0) + fresh.enter("a");
              fresh.clear();  // which closes descriptor 0 again
              return std::to_string(entered) + std::to_string(::fcntl(0, F_GETFD));
            }),
            "1-1");
  for (const char* name : {"a", "b", "c"}) ASSERT_TRUE(chain.enter(name)) << name;
  EXPECT_FALSE(chain.enter("missing") || chain.openAt(1) == nullptr);  // a failure closes none
  EXPECT_TRUE(enterWithNoDescriptorFree("d"));
  EXPECT_TRUE(chain.openAt(1) == nullptr && chain.openAt(4) != nullptr);
  EXPECT_EQ(chain.pathOf("T", 9), "T/a/b/c/d");  // past the deepest: the deepest's path
  chain.start(shareFolder(openFolderPath(tree.path("top/a"))));  // a new walk starts afresh
  EXPECT_EQ(chain.depth(), 1u);
  // One name, never a path nor a step up, whoever asks.
  for (const char* name : {"", ".", "..", "a/b", "/"})
    EXPECT_TRUE(openSubfolder(AT_FDCWD, name) == -1 && errno == EINVAL) << name;
}

// A file's bytes, or in short when long: "c*N" for N bytes all c (NUL shown as "~"), else
// "<big>".
std::string summary(const std::string& bytes) {
  if (bytes.size() < 64) return bytes;
  if (bytes.size() > 65536 || bytes.find_first_not_of(bytes[0]) != std::string::npos)
    return "<big>";
  return std::string(1, bytes[0] == '\0' ? '~' : bytes[0]) + "*" + std::to_string(bytes.size());
}

// Everything below the tree's root, sorted: "name=bytes", "name->link", "name/" or "name|" (a
// FIFO, a socket).
std::string listing(const TestTree& tree) {
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.root())) {
    const std::string name = entry.path().string().substr(tree.root().size() + 1);
    entries.push_back(entry.is_symlink()     ? name + "->" + read_symlink(entry.path()).string()
                      : entry.is_directory() ? name + "/"
                      : entry.is_other()     ? name + "|"
                                             : name + "=" + summary(tree.readFile(name)));
  }
  std::sort(entries.begin(), entries.end());
  std::string joined;
  for (const auto& entry : entries) joined += (joined.empty() ? "" : " ") + entry;
  return joined;
}

// What a save must keep of the file at `path` (through links): owner, mode, attribute flags and
// extended attributes (ACLs among them); and which file it is.
struct Kept {
  ino_t inode = 0;
  std::string metadata;
};

Kept kept(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  std::ostringstream metadata;
  metadata << info.st_uid << ":" << info.st_gid << " " << std::oct << (info.st_mode & 07777);
  int flags = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_FL_USER_MODIFIABLE) != 0)
    metadata << " flags " << (flags & FS_FL_USER_MODIFIABLE);
  if (fd >= 0) ::close(fd);
  char names[4096];
  const ssize_t length = ::listxattr(path.c_str(), names, sizeof names);
  for (ssize_t at = 0; at < length; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
    char value[4096];
    const ssize_t size = ::getxattr(path.c_str(), names + at, value, sizeof value);
    metadata << " " << (names + at) << "=" << std::string(value, std::max<ssize_t>(size, 0));
  }
  return {info.st_ino, metadata.str()};
}

std::string compared(const Kept& before, const Kept& after) {
  if (before.inode == 0)
    return after.inode == 0 ? "-" : "mode " + after.metadata.substr(after.metadata.find(' ') + 1);
  return std::string(before.inode == after.inode ? "same inode" : "new inode") + ", " +
         (before.metadata == after.metadata ? "meta kept" : "meta now " + after.metadata);
}

// Mounts made from here on are seen by this test process only.
void useOwnMounts() {
  static const bool ownMounts = ::unshare(CLONE_NEWNS) == 0 &&
                                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  check(ownMounts, "unshare");
}

// Switches on the kernel's protections of world-writable sticky folders, as most systems have
// them, and puts the old values back when it goes; active() tells whether it could. Test
// programs run side by side take turns (a lock), so that none puts back another's values.
class StickyFolderProtections {
 public:
  StickyFolderProtections() {
    for (auto& [name, old] : saved_)
      active_ = active_ && !(old = readWholeFile(name)).empty() && write(name, "1");
  }
  ~StickyFolderProtections() {
    for (const auto& [name, old] : saved_)
      if (!old.empty()) write(name, old);
    if (lock_ >= 0) ::close(lock_);
  }
  StickyFolderProtections(const StickyFolderProtections&) = delete;
  StickyFolderProtections& operator=(const StickyFolderProtections&) = delete;
  bool active() const { return active_; }

 private:
  static bool write(const std::string& name, const std::string& value) {
    return static_cast<bool>(std::ofstream(name) << value << std::flush);
  }
  int lock_ = ::open("/tmp/tarvel-sticky-protections.lock",
                     O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  bool active_ = lock_ >= 0 && ::flock(lock_, LOCK_EX) == 0;
  std::pair<std::string, std::string> saved_[3] = {{"/proc/sys/fs/protected_symlinks", ""},
                                                   {"/proc/sys/fs/protected_regular", ""},
                                                   {"/proc/sys/fs/protected_fifos", ""}};
};

// The cases of tests/platform/saves.cases, each a map from key to value.
std::vector<std::map<std::string, std::string>> saveCases() {
  std::vector<std::map<std::string, std::string>> cases(1);
  std::istringstream lines(readWholeFile(TARVEL_SAVE_CASES));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() && !cases.back().empty()) cases.emplace_back();
    const auto colon = line.find(':');
    if (line.empty() || line[0] == '#' || colon == std::string::npos) continue;
    cases.back()[line.substr(0, colon)] = line.substr(std::min(colon + 2, line.size()));
  }
  if (cases.back().empty()) cases.pop_back();
  return cases;
}

// "c*N" stands for N bytes c.
std::string bytesOf(const std::string& value) {
  const auto star = value.find('*');
  return star == 1 ? std::string(std::stoul(value.substr(2)), value[0]) : value;
}

TEST(SafeFileWriter, SavesKeepTheFileItsLinksAndMetadataAndFailuresKeepItAsItWas) {
  const auto cases = saveCases();
  ASSERT_GE(cases.size(), 28u);
  const auto shell = [](const std::string& command, const std::string& folder, bool another) {
    const ProcessOptions options{
        .environment = {}, .workingFolder = folder, .unprivileged = another};
    const auto result = runProcess({"sh", "-c", command}, options);
    std::cout << result.out;
    check(result.exitCode == 0, command);
  };
  const bool root = ::geteuid() == 0;
  std::optional<StickyFolderProtections> protections;
  if (root) protections.emplace();
  if (!root || !protections->active())
    std::cout << "[  SKIPPED ] the saves against the sticky folders' protections: not root, or the"
                 " protections cannot be switched on here\n";
  for (auto c : cases) {
    SCOPED_TRACE(c["fault"]);
    const std::string run = c["run"];
    if (run.ends_with(" root") && !root) continue;  // such faults need root to be made
    if (run.starts_with("protected") && !protections->active()) continue;
    TestTree tree(c.contains("base") ? c["base"].c_str() : nullptr);
    if (c.contains("mounts")) useOwnMounts();  // the shell's mounts are then this process's alone
    if (c.contains("setup")) shell(c["setup"], tree.root(), false);
    if (c.contains("note"))
      check(::setxattr(tree.path(c["note"]).c_str(), "user.note", "n", 1, 0) == 0, "setxattr");
    if (c.contains("planted")) {
      shell("mkdir -m 1777 pub", tree.root(), false);
      shell(c["planted"], tree.path("pub"), true);
    }
    const std::string target = tree.path(c["target"]);
    const Kept before = kept(target);
    const auto save = [&] {
      const mode_t mask = ::umask(027);
      const auto reader = c.contains("reader") ? PipeReader::MustBeThere : PipeReader::WaitForOne;
      const auto result = replaceFileContents(target, bytesOf(c["bytes"]), reader);
      ::umask(mask);
      return result.ok ? std::string("ok") : fileErrorMessage(result.cause, "F");
    };
    std::optional<std::string> result;
    if (run.starts_with("here") || run.starts_with("protected")) result = save();
    if (run.starts_with("unprivileged")) result = runUnprivileged(save);
    if (run.starts_with("fsize"))
      result = runInChild([&] {
        const rlimit limit{16384, 16384};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return save();
      });
    ASSERT_TRUE(result) << "the saving child failed";
    EXPECT_EQ(*result + "; " + listing(tree) + "; " + compared(before, kept(target)), c["expect"]);
    for (const char* mounted : {"disk", "mounted"})
      ::umount2(tree.path(mounted).c_str(), MNT_DETACH | UMOUNT_NOFOLLOW);
  }
  struct sigaction after {};
  ::sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, SIG_DFL) << "a save leaves its signal handler behind";
}

// A FIFO swapped in and out of a file's name while it is saved: a save writes what it opened,
// the file through its descriptor or the FIFO as the shell would, never the one for the other,
// and never waits (the FIFO has its reader). The file, rewritten in place for its second name,
// is always whole.
TEST(SafeFileWriter, ATargetSwappedWithAFifoWhileSavedIsWrittenAsWhatWasOpened) {
  TestTree tree;
  tree.createFile("target", "old");
  check(::link(tree.path("target").c_str(), tree.path("other").c_str()) == 0, "link");
  check(::mkfifo(tree.path("spare").c_str(), 0600) == 0, "mkfifo");
  const int reader = ::open(tree.path("spare").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  std::atomic<bool> done{false};
  std::atomic<int> swaps{0};
  std::thread swapper([&] {
    while (!done) {
      ::renameat2(AT_FDCWD, tree.path("target").c_str(), AT_FDCWD, tree.path("spare").c_str(),
                  RENAME_EXCHANGE);
      ++swaps;
    }
  });
  std::string failures;
  char drained[4096];
  for (int i = 0; i < 300; ++i) {
    // At least one swap between two saves, however the threads are scheduled.
    for (const int seen = swaps; swaps == seen;) std::this_thread::yield();
    const auto result = replaceFileContents(tree.path("target"), "new", PipeReader::WaitForOne);
    if (!result.ok) failures += fileErrorMessage(result.cause, "F");
    while (::read(reader, drained, sizeof drained) > 0) {
    }
    const std::string whole = tree.readFile("other");
    if (whole != "old" && whole != "new") failures += "torn: " + whole;
  }
  done = true;
  swapper.join();
  ::close(reader);
  EXPECT_EQ(failures, "");
  const std::string after = listing(tree);  // and no hidden file left
  EXPECT_TRUE(after == "other=new spare| target=new" || after == "other=new spare=new target|")
      << after;
}

// A window's save to a pipe that has its reader writes all of it, however long, as a blocking
// write would: the open that does not wait leaves nothing non-blocking behind.
TEST(SafeFileWriter, ASaveThatMustFindAReaderWritesAPipeThatHasOneWhole) {
  TestTree tree;
  check(::mkfifo(tree.path("fifo").c_str(), 0600) == 0, "mkfifo");
  const int reader = ::open(tree.path("fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  const std::string report(1 << 20, 'r');  // sixteen times a pipe's buffer
  std::string got;
  std::thread drain([&] {
    char piece[65536];
    for (int idle = 0; got.size() < report.size() && idle < 10000;) {
      const ssize_t n = ::read(reader, piece, sizeof piece);
      if (n > 0) got.append(piece, static_cast<std::size_t>(n));
      idle = n > 0 ? 0 : idle + 1;
      if (n <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  const auto result = replaceFileContents(tree.path("fifo"), report, PipeReader::MustBeThere);
  drain.join();
  ::close(reader);
  EXPECT_TRUE(result.ok) << fileErrorMessage(result.cause, "F");
  EXPECT_EQ(got.size(), report.size());
}

}  // namespace

}  // namespace tarvel
