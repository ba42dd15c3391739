// Makes the pictures of the README and docs/: a folder selected and listed in the main window,
// then one of
//
//   tarvel_screenshot main OUTPUT.png FOLDER   the main window alone (its contents)
//   tarvel_screenshot help OUTPUT.png FOLDER   the help window in front of the main window
//   tarvel_screenshot save OUTPUT.png FOLDER   the save dialog over the main window
//
// "help" and "save" grab the screen, window manager's frames included: run them on a real X
// server with a window manager (scripts/screenshot does).
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/ListingApp.h"
#include "app/MainDialog.h"
#include "browser/FolderTree.h"

using namespace tarvel;

namespace {

// The part of the screen that shows `windows`, frames included, with a margin.
bool grabScreen(const QList<QWidget*>& windows, const char* output) {
  QTest::qWait(500);  // the window manager frames and stacks them
  QRect area;
  for (const QWidget* window : windows) area |= window->frameGeometry();
  area.adjust(-12, -12, 12, 12);
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .save(QString::fromLocal8Bit(output));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 4 ? argv[1] : "";
  if (mode != "main" && mode != "help" && mode != "save") {
    std::fprintf(stderr, "usage: %s main|help|save OUTPUT.png FOLDER\n", argv[0]);
    return 2;
  }
  if (mode == "main" && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  const char* output = argv[2];
  ListingApp application(argc, argv);
  MainDialog window;
  window.move(40, 40);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window) || !window.tree()->selectPath(argv[3])) {
    std::fprintf(stderr, "%s: cannot show %s\n", argv[0], argv[3]);
    return 1;
  }
  // The selected folder at the top, and scrolled sideways to the level of its neighbours.
  FolderTree* tree = window.tree();
  tree->scrollToItem(tree->currentItem(), QAbstractItemView::PositionAtTop);
  tree->horizontalScrollBar()->setValue(tree->visualItemRect(tree->currentItem()).left() -
                                        2 * tree->indentation());
  window.onExtraction();
  if (!QTest::qWaitFor([&window] { return !window.isListing(); })) return 1;
  QApplication::processEvents();

  bool saved = false;
  if (mode == "main") {
    saved = window.grab().save(QString::fromLocal8Bit(output));
  } else if (mode == "help") {
    window.onHelpCommand();
    HelpWindow* help = window.helpWindow();
    if (help == nullptr) return 1;
    help->resize(560, 460);
    help->move(window.x() + 330, window.y() + 150);
    saved = grabScreen({&window, help}, output);
  } else {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      dialog->resize(640, 400);
      saved = grabScreen({&window, dialog}, output);
      dialog->reject();
    });
    window.onSaveAs();
  }
  if (!saved) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], output);
    return 1;
  }
  return 0;
}
