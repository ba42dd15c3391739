#include "listing/FolderSize.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <exception>
#include <string>

#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

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
