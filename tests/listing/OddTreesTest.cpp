// Trees that would hang, crash or forge lines in a careless walk.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdint>
#include <exception>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "listing/CsvWriter.h"
#include "listing/DiskSource.h"
#include "listing/FolderReader.h"
#include "listing/FolderSize.h"
#include "listing/JsonWriter.h"
#include "listing/LineEnd.h"
#include "listing/StructuredWalk.h"
#include "tests/listing/ListingTestSupport.h"

namespace tarvel {

namespace {

TEST(OddTrees, NoLevelIsCutHoweverLongItsPath) {
  const std::pair<std::string, int> cases[] = {{"a", 3000},
                                               {std::string(200, 'd'), PATH_MAX / 201 + 5}};
  for (const auto& [name, levels] : cases) {
    TestTree tree("/dev/shm");
    tree.createNestedDirs("Top", name, levels, 5);
    ListingRun run;
    const auto [report, total] = withDescriptorLimit(64, [&] {
      return std::pair{listFolder(run, tree, "Top", plainOptions()),
                       sumFolderSize(tree.path("Top"), false, true)};
    });
    EXPECT_EQ(run.state().folderCount, levels) << levels;
    EXPECT_TRUE(report.ends_with("  |-leaf\r\n")) << levels;
    EXPECT_EQ(total, 5u) << levels;
  }
}

// Threads that share the folder size's work hand each other whole subtrees: none is lost.
TEST(OddTrees, AFolderSizeSharedBetweenThreadsCountsEveryFile) {
  TestTree tree("/dev/shm");
  for (int i = 0; i < 1000; ++i)
    tree.createFile("Top/" + std::to_string(i % 40) + "/" + std::to_string(i) + "/f", "abc");
  for (int run = 0; run < 5; ++run) EXPECT_EQ(sumFolderSize(tree.path("Top"), false, true), 3000u);
}

// A stop is seen within a large folder, not only between folders: the sum, the sized read of a
// listing and the listing end early, the listing without its footer.
TEST(OddTrees, AStopIsSeenWithinALargeFolder) {
  TestTree tree("/dev/shm");
  for (int i = 0; i < 10000; ++i) tree.createFile("Wide/" + std::to_string(i), "a");
  std::stop_source stopped;
  stopped.request_stop();
  EXPECT_EQ(sumFolderSize(tree.path("Wide"), false, true), 10000u);
  EXPECT_LT(sumFolderSize(tree.path("Wide"), false, true, stopped.get_token()), 10000u);
  const int folder = ::open(tree.path("Wide").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  FolderContents contents;
  FolderReader().read(folder, true, contents, stopped.get_token());
  ::close(folder);
  EXPECT_LT(contents.files().size(), 10000u);
  ListingRun run;
  run.run({"Wide", tree.path("Wide")}, ListingOptions{}, nullptr, stopped.get_token());
  EXPECT_EQ(run.report().find("Nombre de fichiers"), std::string::npos);
}

// However large, a report handed over as it is made arrives whole and in order, in pieces of
// about one piece's size: memory holds a piece, never the whole report.
TEST(OddTrees, ALargeReportIsHandedOverWholeInBoundedPieces) {
  TestTree tree("/dev/shm");
  tree.createEmptyFiles("Wide", 60000);
  ListingOptions options = plainOptions();
  options.pathMode = PathMode::AbsolutePath;
  options.applyPathOptionsToFiles = true;
  ListingRun whole;
  const std::string expected = listFolder(whole, tree, "Wide", options);
  struct Pieces final : ReportOutput {
    void write(std::string_view piece) override {
      text += piece;
      largest = std::max(largest, piece.size());
    }
    std::string text;
    std::size_t largest = 0;
  } pieces;
  ListingRun streamed;
  streamed.setOutput(&pieces);
  const std::string rest = listFolder(streamed, tree, "Wide", options);
  ASSERT_GT(expected.size(), 2 * kReportPieceBytes);
  EXPECT_TRUE(pieces.text + rest == expected);
  EXPECT_GT(pieces.largest, 0u);
  EXPECT_LT(std::max(pieces.largest, rest.size()), kReportPieceBytes + 4096);
  // The documents for scripts are never held whole either.
  for (const bool json : {true, false}) {
    Pieces document;
    std::unique_ptr<StructuredWriter> writer = std::make_unique<CsvWriter>(document);
    if (json) writer = std::make_unique<JsonWriter>(document);
    DiskSource disk;
    StructuredWalk(options, *writer, nullptr).write(disk, {"Wide", tree.path("Wide")});
    EXPECT_GT(document.text.size(), 2 * kReportPieceBytes) << json;
    EXPECT_LT(document.largest, kReportPieceBytes + 4096) << json;
  }
}

// A folder swapped for a link to a folder outside the tree, over and over while the tree is
// listed and summed, is never followed: near the top, nor when a folder closed to save
// descriptors is opened again. Whoever runs it, the same process does the swapping.
TEST(OddTrees, FoldersSwappedForLinksAreNeverFollowed) {
  TestTree tree("/dev/shm");
  constexpr std::uint64_t kOutsideSize = std::uint64_t{1} << 40;
  tree.createSparseFile("Outside/MARKER", kOutsideSize);
  tree.createSparseFile("Outside/z/MARKER", kOutsideSize);
  tree.createFile("Top/A/a");
  tree.createNestedDirs("Top/C/deep", "d", 80);  // more levels than descriptors kept
  tree.createFile("Top/C/z/c");
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const char* folder : {"Top/A", "Top/C"}) {
    tree.createSymlink(std::string(folder) + "-link", tree.path("Outside"));
    pairs.emplace_back(tree.path(folder), tree.path(folder) + "-link");
  }
  std::atomic<bool> done{false};
  std::atomic<int> swaps{0};
  std::thread swapper([&] {
    while (!done)
      for (const auto& [folder, link] : pairs)
        swaps +=
            ::renameat2(AT_FDCWD, folder.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE) == 0;
  });
  int escapes = 0;
  ListingRun run;
  for (int i = 0; i < 200; ++i) {
    escapes += listFolder(run, tree, "Top", ListingOptions{}).find("MARKER") != std::string::npos;
    escapes += sumFolderSize(tree.path("Top"), false, true) >= kOutsideSize;
  }
  done = true;
  swapper.join();
  EXPECT_GT(swaps, 0);
  EXPECT_EQ(escapes, 0);
}

// A folder that fails mid-read (here a file, which the system refuses to read as one) ends
// with its cause, for the report to tell; it is not read again and again.
TEST(OddTrees, AFolderReadErrorIsKeptAndReadOnce) {
  TestTree tree;
  tree.createFile("file");
  const int fd = ::open(tree.path("file").c_str(), O_RDONLY | O_CLOEXEC);
  FolderContents contents;
  FolderReader().read(fd, true, contents);
  EXPECT_EQ(contents.folderError(), ENOTDIR);
  ::close(fd);
}

// 2^63 - 1 twice and 7 bytes: a total that wraps would show as 5 bytes.
TEST(OddTrees, AFolderSizeBeyond64BitsIsTooBigNotWrapped) {
  TestTree tree("/dev/shm");
  try {
    tree.createSparseFile("top/a", INT64_MAX);
    tree.createSparseFile("top/b", INT64_MAX);
  } catch (const std::exception&) {
    GTEST_SKIP() << "no file system here takes files that large";
  }
  tree.createFile("top/c", "1234567");
  EXPECT_EQ(sizeLine(sumFolderSize(tree.path("top"), false, true)), "Trop grand");
}

}  // namespace

}  // namespace tarvel
