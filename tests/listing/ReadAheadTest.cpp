// Folders read ahead on helper threads must reach the walk exactly as if it had read them then.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "listing/AllocationFailurePoint.h"
#include "listing/DiskSource.h"
#include "listing/FolderWalk.h"
#include "tests/listing/ListingTestSupport.h"
#include "tests/support/ProcessRunner.h"
#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

// The descriptors open, the one that reads them among them.
int openDescriptors() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

// Runs `step` whenever the walk enters a folder or comes back to one.
struct OnEachFolder final : ProgressSink {
  explicit OnEachFolder(std::function<void()> action) : step(std::move(action)) {}
  void setRange(std::int64_t) override { step(); }
  void setPosition(std::int64_t) override {}
  std::function<void()> step;
};

// The walk's lines for the folder `root` with `helpers` threads reading ahead, then its counts.
// One source for each number of helpers serves every walk, as one serves every listing of the
// window: what a walk leaves behind must not change the next.
std::string listWith(
    unsigned helpers, const std::string& root, const ListingOptions& options,
    std::function<void()> step = [] {}) {
  const int descriptorsBefore = openDescriptors();
  static DiskSource sources[] = {DiskSource(0), DiskSource(1), DiskSource(2), DiskSource(3)};
  ExtensionPatterns patterns;
  RunState state;
  std::string report;
  OnEachFolder progress(std::move(step));
  NoWarnings warnings;
  EXPECT_TRUE(FolderWalk(options, patterns, state, report, progress, warnings)
                  .walk(sources[helpers], {"", root}));
  sources[helpers].finish();
  EXPECT_EQ(openDescriptors(), descriptorsBefore) << "left open by the source";
  return report + std::to_string(state.folderCount) + "/" + std::to_string(state.fileCount);
}

// Waits, two seconds at most, until threads other than this one have passed the allocation
// failure point, armed with `armed`, `passes` times: the helper then reads ahead of the walk
// however busy the machine is.
void waitForPasses(long armed, long passes) {
  for (int ms = 0; ms < 2000 && AllocationFailurePoint::passesLeft() > armed - passes; ++ms)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

ListingOptions sizesAndPaths() {
  ListingOptions options;
  options.includeFileSize = options.applyPathOptionsToFiles = true;
  options.pathMode = PathMode::AbsolutePath;
  return options;
}

TEST(ReadAhead, EveryTreeListsAsTheWalkAloneListsIt) {
  TestTree tree;
  // Many small folders, with links and names of any bytes among them.
  for (const char* a : {"A", "b", "\xC3\xA9t\xC3\xA9", "line\nbreak", "\xFF"}) {
    for (const char* b : {"x", "Y", "z z"}) {
      for (const char* c : {"1", "2", "10"})
        tree.createFile(std::string("Many/") + a + "/" + b + "/" + c + "/f" + c, c);
      tree.createFile(std::string("Many/") + a + "/" + b + ".TXT", b);
    }
    tree.createSymlink(std::string("Many/") + a + "/up", "..");
  }
  // More folders than helpers may hold ready at once, each with a subtree of its own.
  for (int i = 0; i < 300; ++i) tree.createFile("Wide/d" + std::to_string(i) + "/inner/f");
  tree.createNestedDirs("Deep", "a", 300);  // more levels than descriptors kept
  tree.createNestedDirs("Long", std::string(200, 'd'), PATH_MAX / 201 + 5);

  for (const char* top : {"Many", "Wide", "Deep", "Long"}) {
    for (const ListingOptions& options : {ListingOptions{}, sizesAndPaths()}) {
      const std::string alone = listWith(0, tree.path(top), options);
      for (const unsigned helpers : {1u, 3u})
        EXPECT_EQ(listWith(helpers, tree.path(top), options), alone) << top << " " << helpers;
    }
  }
}

// What helpers hold ready costs memory whatever the tree: a bounded number of folders, and of
// entries in them; they read on once the walk has taken half of it. A file added once helpers
// have done all they may shows in every folder they had not read yet.
TEST(ReadAhead, HelpersHoldBoundedMemoryAndReadOn) {
  // folders, files in each, whether each holds two folders of its own, helpers, folders held ahead
  // at most, folders taken before the second wave, folders read between the waves (the rest,
  // and the first, which the walk reads)
  const std::tuple<int, int, bool, unsigned, int, int, int> cases[] = {
      {150, 0, false, 1, 128, 80, 22},
      {150, 0, false, 3, 128, 80, 22},
      {45, 512, false, 1, 32, 20, 13},
      {100, 0, true, 1, 128, 250, 172}};
  for (const auto& [count, filesEach, nested, helpers, mostAhead, takenFirst, readBetween] :
       cases) {
    TestTree tree("/dev/shm");
    std::vector<std::string> folders;
    for (int i = 0; i < count; ++i) {
      const std::string top = "Top/d" + std::to_string(1000 + i);
      folders.push_back(top);
      if (nested) folders.insert(folders.end(), {top + "/in", top + "/on"});
    }
    for (const std::string& folder : folders) {
      tree.createDir(folder);
      for (int j = 0; j < filesEach; ++j) tree.createFile(folder + "/" + std::to_string(j));
    }
    int steps = 0;                 // one on entering each folder, one on coming back from it
    const int taken = takenFirst;  // a lambda cannot capture bindings (clang)
    const int before = openDescriptors();
    int mostOpen = 0;
    const std::string report = listWith(helpers, tree.path("Top"), plainOptions(), [&] {
      mostOpen = std::max(mostOpen, openDescriptors() - before);
      if (++steps != 1 && steps != 2 + 2 * taken) return;
      // Each folder read ahead holds a descriptor: done once their count no longer grows, seen
      // the same three times in a row on a busy machine.
      for (int seen = -1, same = 0; same < 3; seen = openDescriptors()) {
        same = seen == openDescriptors() ? same + 1 : 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
      }
      for (const std::string& folder : folders)
        tree.createFile(folder + (steps == 1 ? "/#" : "/@"));
    });
    const auto first = std::ranges::count(report, '#'), second = std::ranges::count(report, '@');
    EXPECT_EQ(std::ssize(folders) - first, mostAhead) << filesEach << nested;  // names show no #
    EXPECT_EQ(first - second, readBetween) << filesEach << nested;
    // Folders the walk left wait to be closed by the helpers, half as many at most as are ahead.
    EXPECT_LE(mostOpen, mostAhead * 3 / 2 + 4) << filesEach << nested;
  }
}

// A helper reuses what held the folders the walk took: a long tree costs as many allocations
// as folders held ahead at most, not one for every folder.
TEST(ReadAhead, HelpersReuseWhatHeldTheFoldersTaken) {
  TestTree tree("/dev/shm");
  for (int i = 0; i < 600; ++i) tree.createDir("Top/" + std::to_string(i));
  AllocationFailurePoint::arm(LONG_MAX);  // counts the helper's allocations, fails none
  listWith(1, tree.path("Top"), sizesAndPaths(),
           [] { std::this_thread::sleep_for(std::chrono::microseconds(100)); });
  EXPECT_LT(LONG_MAX - AllocationFailurePoint::disarm(), 300);
}

TEST(ReadAhead, AHelperOutOfMemoryOrDescriptorsLeavesTheRestToTheWalk) {
  TestTree tree;
  for (int i = 0; i < 60; ++i)
    tree.createFile("Top/" + std::to_string(i % 7) + "/" + std::to_string(i) + "/f");
  const std::string alone = listWith(0, tree.path("Top"), sizesAndPaths());
  for (const long growths : {0, 3, 40}) {
    AllocationFailurePoint::arm(growths);  // on the helper: the walk runs on this thread
    const auto untilItFails = [growths] { waitForPasses(growths, growths + 1); };
    EXPECT_EQ(listWith(1, tree.path("Top"), sizesAndPaths(), untilItFails), alone) << growths;
    EXPECT_LT(AllocationFailurePoint::disarm(), 0) << "the helper did not fail";
  }
  // A few descriptors more than the walk needs, far fewer than the folders held ready take; a
  // slow walk, so that the helper reads ahead.
  const auto slowly = [] { std::this_thread::sleep_for(std::chrono::microseconds(200)); };
  EXPECT_EQ(
      withDescriptorLimit(openDescriptors() + 8,
                          [&] { return listWith(1, tree.path("Top"), sizesAndPaths(), slowly); }),
      alone);
  // The walk, done with "a", waits for the large "b" its helper reads; the helper fails late in
  // it, the walk waiting (growths counted once, then the last one fails), and wakes the walk.
  tree.createFile("Wait/a/f");
  for (int i = 0; i < 20000; ++i) tree.createFile("Wait/b/" + std::to_string(i));
  const auto waited = [&](long armed) {  // once its helper has taken "b"
    AllocationFailurePoint::arm(armed);
    return listWith(1, tree.path("Wait"), sizesAndPaths(), [armed, n = 0]() mutable {
      if (n++ == 0) waitForPasses(armed, 2);
    });
  };
  const std::string whole = waited(LONG_MAX);
  EXPECT_EQ(waited(LONG_MAX - AllocationFailurePoint::disarm() - 1), whole);
  EXPECT_LT(AllocationFailurePoint::disarm(), 0) << "the helper did not fail";
}

TEST(ReadAhead, UnreadableFoldersAreEmptyWhoeverReadsThem) {
  TestTree tree;
  for (int i = 0; i < 30; ++i) {
    const std::string folder = "Top/d" + std::to_string(i);
    tree.createFile(folder + "/inner/f");
    if (i % 3 == 0) tree.setMode(folder, 0);
    if (i % 3 == 1) tree.setMode(folder + "/inner", 0);
  }
  const auto result = runUnprivileged([&] {
    const std::string alone = listWith(0, tree.path("Top"), ListingOptions{});
    const std::string ahead = listWith(3, tree.path("Top"), ListingOptions{});
    return alone == ahead ? "same" : alone + "\n----\n" + ahead;
  });
  if (!result) GTEST_SKIP() << "cannot drop privileges here";
  EXPECT_EQ(*result, "same");
}

}  // namespace

}  // namespace tarvel
