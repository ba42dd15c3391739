// Makes the README's picture of the main window: the window offscreen, a folder selected and
// listed, grabbed to a PNG file.
//
//   tarvel_screenshot OUTPUT.png FOLDER
#include <cstdio>

#include "app/ListingApp.h"
#include "app/MainDialog.h"
#include "browser/FolderTree.h"

using namespace tarvel;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT.png FOLDER\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ListingApp application(argc, argv);
  MainDialog window;
  window.show();
  if (!window.tree()->selectPath(argv[2])) {
    std::fprintf(stderr, "%s: cannot select %s\n", argv[0], argv[2]);
    return 1;
  }
  window.tree()->scrollToItem(window.tree()->currentItem(), QAbstractItemView::PositionAtTop);
  window.onExtraction();
  QApplication::processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
