#include "listing/FolderSize.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <exception>
#include <string>

#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

TEST(SizeLine, UnitsBoundariesAndRounding) {
  const struct {
    std::uint64_t total;
    const char* line;
  } cases[] = {
      {0, "Taille du dossier:  0  Octets"},
      {1023, "Taille du dossier:  1023  Octets"},
      {1024, "Taille du dossier:  1.0    Kilooctets"},
      {1280, "Taille du dossier:  1.3    Kilooctets"},  // 1.25: halves round up
      {1536, "Taille du dossier:  1.5    Kilooctets"},
      {1792, "Taille du dossier:  1.8    Kilooctets"},  // 1.75
      {1126, "Taille du dossier:  1.1    Kilooctets"},  // 1.0996: not a tie
      {1048575, "Taille du dossier:  1024.0  Kilooctets"},
      {1048576, "Taille du dossier:  1.0    Megaoctets"},
      {1310720, "Taille du dossier:  1.3    Megaoctets"},  // 1.25 MiB
      {1835008, "Taille du dossier:  1.8    Megaoctets"},  // 1.75 MiB
      {10485760, "Taille du dossier:  10.0   Megaoctets"},
      {104857600, "Taille du dossier:  100.0  Megaoctets"},
      {1073741823, "Taille du dossier:  1024.0  Megaoctets"},
      {1073741824, "Taille du dossier:  1.0    Gigaoctets"},
      {1342177280, "Taille du dossier:  1.3    Gigaoctets"},  // 1.25 GiB
      {1879048192, "Taille du dossier:  1.8    Gigaoctets"},  // 1.75 GiB
      {(std::uint64_t{1} << 40) - 1, "Taille du dossier:  1024.0  Gigaoctets"},
      {std::uint64_t{1} << 40, "Trop grand"},
      {UINT64_MAX, "Trop grand"},
  };
  for (const auto& c : cases) EXPECT_EQ(sizeLine(c.total), c.line) << c.total;
}

// top/{a.bin 100, .hidden 20, link -> a.bin, loop -> top, big (5 GiB, sparse),
//      sub/{b 7, deeper/{c 3}}}
class sumFolderSizeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.createFile("top/a.bin", std::string(100, 'a'));
    tree.createFile("top/.hidden", std::string(20, 'h'));
    tree.createSymlink("top/link", "a.bin");
    tree.createSymlink("top/loop", tree.path("top"));
    tree.createSparseFile("top/big", kBig);
    tree.createFile("top/sub/b", std::string(7, 'b'));
    tree.createFile("top/sub/deeper/c", "ccc");
    tree.createDir("empty");
    tree.createFile("onlyhidden/.h", std::string(9, 'h'));
  }
  static constexpr std::uint64_t kBig = std::uint64_t{5} << 30;
  static constexpr std::uint64_t kLinkSize = 5;  // "a.bin"
  TestTree tree;
};

TEST_F(sumFolderSizeTest, FoldersFilesAndLinks) {
  const std::uint64_t topFiles = 100 + 20 + kLinkSize + kBig;
  const struct {
    const char* path;
    bool pathIsEntry;
    bool includeSubfolders;
    std::uint64_t total;
  } cases[] = {
      {"top", false, false, topFiles}, {"top", false, true, topFiles + 7 + 3},
      {"top/sub", false, true, 10},    {"top/a.bin", true, false, 100},
      {"top/big", true, true, kBig},   {"top/link", true, true, kLinkSize},
      {"top/sub", true, false, 0},  // a folder named as an entry counts only its contents
      {"top/sub", true, true, 10},     {"empty", false, true, 0},
      {"onlyhidden", false, false, 9},  // hidden files count
      {"missing", false, true, 0},     {"missing", true, true, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sumFolderSize(tree.path(c.path), c.pathIsEntry, c.includeSubfolders), c.total)
        << c.path << " entry=" << c.pathIsEntry << " subfolders=" << c.includeSubfolders;
  }
}

TEST_F(sumFolderSizeTest, ALinkToAFolderIsEnteredOnlyWhenItIsTheFolderAsked) {
  tree.createSymlink("via", tree.path("top/sub"));
  EXPECT_EQ(sumFolderSize(tree.path("via"), false, true), 10u);
  tree.createSymlink("top/sub/deeper/back", tree.path("top"));  // a loop below: not followed
  EXPECT_EQ(sumFolderSize(tree.path("via"), false, true), 10u);
}

// 2^63 - 1 twice and 7 bytes: a total that wraps would show as 5 bytes.
TEST(sumFolderSizeHuge, ATotalBeyond64BitsIsTooBigNotWrapped) {
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
