// Times opening a very wide folder in the folder tree, offscreen: from the expand click to the
// tree drawn again, icons included. Prints one Markdown table row per measure.
//
//   tarvel_tree_bench [FOLDER] [RUNS]
//
// FOLDER (default /tmp/tarvel-bench-wide) is filled once with 100,000 files and 1,000
// subfolders, each holding one file so that it gets an expand button of its own.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "browser/FolderTree.h"

using namespace tarvel;

namespace {

constexpr int kFiles = 100'000;
constexpr int kFolders = 1'000;
const char* const kExtensions[] = {".txt", ".mp3", ".jpg", ".cpp", ".pdf", "", ".tar.gz", ".md"};

void touch(const std::string& path) {
  ::close(::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
}

void makeWideFolder(const std::string& folder) {
  const std::string stamp = folder + ".complete";  // beside it, so it is not one of its files
  if (::access(stamp.c_str(), F_OK) == 0) return;
  std::fprintf(stderr, "creating %s\n", folder.c_str());
  ::mkdir(folder.c_str(), 0755);
  for (int i = 0; i < kFiles; ++i) {
    touch(folder + "/file " + std::to_string(i) + kExtensions[i % std::size(kExtensions)]);
  }
  for (int i = 0; i < kFolders; ++i) {
    const std::string sub = folder + "/Folder " + std::to_string(i);
    ::mkdir(sub.c_str(), 0755);
    touch(sub + "/inside.txt");
  }
  touch(stamp);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const std::string folder = argc > 1 ? argv[1] : "/tmp/tarvel-bench-wide";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  makeWideFolder(folder);

  FolderTree tree;
  tree.resize(400, 600);
  tree.show();
  tree.initTree();
  QElapsedTimer timer;
  timer.start();
  if (!tree.selectPath(folder)) {
    std::fprintf(stderr, "cannot open %s in the tree\n", folder.c_str());
    return 1;
  }
  QTreeWidgetItem* wide = tree.currentItem();
  tree.repaint();
  const double first = static_cast<double>(timer.nsecsElapsed()) / 1e6;

  std::vector<double> expand;
  std::vector<double> collapse;
  for (int run = 0; run < runs; ++run) {
    timer.restart();
    wide->setExpanded(false);
    tree.repaint();
    collapse.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    timer.restart();
    wide->setExpanded(true);
    tree.scrollToItem(wide->child(wide->childCount() - 1));
    tree.repaint();
    expand.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::printf("| Measure (%d files, %d subfolders, offscreen) | Time |\n|---|---|\n", kFiles,
              kFolders);
  std::printf("| open the tree down to the folder, first time | %.0f ms |\n", first);
  std::printf("| expand the folder, median of %d | %.0f ms |\n", runs, median(expand));
  std::printf("| collapse the folder, median of %d | %.0f ms |\n", runs, median(collapse));
  std::printf("| children shown | %d |\n", wide->childCount());
  return 0;
}
