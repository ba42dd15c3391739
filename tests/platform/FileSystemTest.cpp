#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/DirectoryReader.h"
#include "platform/FolderChain.h"
#include "platform/OpenFolder.h"
#include "platform/SafeFileWriter.h"
#include "tests/support/ProcessRunner.h"
#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

// isFolder, isSymlink, isHidden, size
using Seen = std::tuple<bool, bool, bool, std::uint64_t>;

std::map<std::string, Seen> readFolder(const std::string& path, bool wantSize) {
  std::map<std::string, Seen> seen;
  DirectoryReader reader;
  const OpenFolder folder(openFolderPath(path));
  reader.start(folder.descriptor());
  for (DirectoryEntry entry; reader.next(entry, wantSize);) {
    seen[std::string(entry.name)] = {entry.isFolder, entry.isSymlink, entry.isHidden, entry.size};
  }
  return seen;
}

TEST(DirectoryReader, ReportsEveryEntryWithItsKindAndSizesOnlyWhenAsked) {
  constexpr std::uint64_t kFiveGiB = 5ull << 30;
  TestTree tree;
  tree.createFile("d/star*", "12345");
  tree.createFile("d/new\nline\xff", "x");
  tree.createFile("d/.hidden", "hi");
  tree.createDir("d/sub/inner");
  tree.createSymlink("d/to-sub", "sub");
  tree.createSymlink("d/broken", "nowhere");
  tree.createSparseFile("d/big", kFiveGiB);
  for (const bool wantSize : {false, true}) {
    SCOPED_TRACE(wantSize ? "with sizes" : "without sizes");
    const auto size = [&](std::uint64_t bytes) { return wantSize ? bytes : 0; };
    const std::map<std::string, Seen> expected = {
        // no "." or ".."
        {"star*", {false, false, false, size(5)}},
        {"new\nline\xff", {false, false, false, size(1)}},
        {".hidden", {false, false, true, size(2)}},
        {"sub", {true, false, false, 0}},
        {"to-sub", {true, true, false, size(3)}},  // the link's own size
        {"broken", {false, true, false, size(7)}},
        {"big", {false, false, false, size(kFiveGiB)}}};
    EXPECT_EQ(readFolder(tree.path("d"), wantSize), expected);
  }
  EXPECT_TRUE(readFolder(tree.path("missing"), true).empty());
  // Far more than one buffer of records, so reading must go on across refills.
  for (int i = 0; i < 600; ++i)
    tree.createFile("many/" + std::to_string(i) + std::string(240, 'n'));
  EXPECT_EQ(readFolder(tree.path("many"), false).size(), 600u);
}

// With only the top and the deepest folder kept open, going back up opens the others again by
// name: what holds that name then must be the very folder left, never another nor a link. A
// folder still kept open is the one entered, wherever it went meanwhile.
TEST(FolderChain, AFolderReplacedWhileClosedIsRefusedWhenOpenedAgain) {
  const struct {
    const char* replacement;  // what takes the place of top/a: "", a folder, or a link
    std::size_t budget;       // folders kept open
    int error;                // 0: reached; -1: refused by the system
  } cases[] = {{"", 2, 0}, {"folder", 2, ESTALE}, {"link", 2, -1}, {"folder", 8, 0}};
  for (const auto& c : cases) {
    TestTree tree;
    tree.createDir("top/a/b/c");
    tree.createDir("other/b/c");
    FolderChain chain(c.budget);
    chain.start(shareFolder(openFolderPath(tree.path("top"))));
    for (const char* name : {"a", "b", "c"}) ASSERT_TRUE(chain.enter(name)) << name;
    chain.leaveTo(3);  // back in top/a/b
    const std::string replacement = c.replacement;
    if (!replacement.empty()) std::filesystem::rename(tree.path("top/a"), tree.path("old"));
    if (replacement == "folder") std::filesystem::rename(tree.path("other"), tree.path("top/a"));
    if (replacement == "link") tree.createSymlink("top/a", tree.path("old"));
    errno = 0;
    EXPECT_EQ(chain.deepest() != nullptr, c.error == 0) << c.replacement << c.budget;
    EXPECT_TRUE(c.error < 0 || errno == c.error) << c.replacement << " " << errno;
  }
  // One name, never a path nor a step up, whoever asks.
  for (const char* name : {"", ".", "..", "a/b", "/"}) {
    EXPECT_EQ(openSubfolder(AT_FDCWD, name), -1) << name;
    EXPECT_EQ(errno, EINVAL) << name;
  }
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(SafeFileWriter, ReplacesContentAndKeepsTheOldMode) {
  TestTree tree;
  tree.createFile("out.txt", "a much longer old content");
  tree.setMode("out.txt", 0604);
  EXPECT_TRUE(replaceFileContents(tree.path("out.txt"), "new\r\n").ok);
  EXPECT_EQ(tree.readFile("out.txt"), "new\r\n");
  EXPECT_EQ(std::filesystem::status(tree.path("out.txt")).permissions(),
            std::filesystem::perms(0604));
  EXPECT_EQ(namesIn(tree.root()), std::vector<std::string>{"out.txt"});
}

TEST(SafeFileWriter, RefusesWhatItMustNotReplaceAndLeavesItIntact) {
  TestTree tree;
  tree.createFile("readonly.txt", "keep");
  tree.setMode("readonly.txt", 0444);
  tree.createDir("folder");
  const std::pair<const char*, FileErrorCause> cases[] = {
      {"readonly.txt", FileErrorCause::AccessDenied},  // refused even to root
      {"folder", FileErrorCause::AccessDenied},
      {"missing/out.txt", FileErrorCause::BadPath}};
  for (const auto& [target, cause] : cases) {
    const auto result = replaceFileContents(tree.path(target), "new");
    EXPECT_FALSE(result.ok) << target;
    EXPECT_EQ(result.cause, cause) << target;
  }
  EXPECT_EQ(tree.readFile("readonly.txt"), "keep");
  EXPECT_TRUE(std::filesystem::is_directory(tree.path("folder")));
  EXPECT_EQ(namesIn(tree.root()).size(), 2u);
}

TEST(SafeFileWriter, UnwritableFolderLeavesTheOldFileAndNoTemporary) {
  TestTree tree;
  tree.createFile("locked/report.txt", "old");
  tree.setMode("locked/report.txt", 0666);  // writable in place, but the folder is not
  const auto outcome = runUnprivileged([&] {
    const auto result = replaceFileContents(tree.path("locked/report.txt"), "new");
    return std::to_string(!result.ok && result.cause == FileErrorCause::AccessDenied);
  });
  if (!outcome) GTEST_SKIP() << "cannot run as an unprivileged user here";
  EXPECT_EQ(*outcome, "1");
  EXPECT_EQ(tree.readFile("locked/report.txt"), "old");
  EXPECT_EQ(namesIn(tree.path("locked")), std::vector<std::string>{"report.txt"});
}

}  // namespace

}  // namespace tarvel
