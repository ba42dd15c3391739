// Times the window, offscreen. One measure per run of the program:
//
//   tarvel_gui_bench startup            starts the program and returns once its window is shown
//   tarvel_gui_bench extract DIR RUNS   "Extraction" on DIR, from the click to the report shown
//   tarvel_gui_bench pane RUNS          the pane receiving a report of 5,000,000 characters
//
// extract and pane print the median in milliseconds.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/ListingApp.h"
#include "app/MainDialog.h"
#include "app/PaneText.h"
#include "browser/FolderTree.h"

using namespace tarvel;

namespace {

double medianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A report-like text: lines of names under a drawn tree, ended by CR LF, 5,000,000 bytes.
std::string bigReport() {
  std::string text;
  text.reserve(5'000'000);
  for (int line = 0; text.size() < 5'000'000 - 64; ++line) {
    text += " |  |  |-Fichier numéro " + std::to_string(line) + " du dossier.txt\r\n";
  }
  text.resize(5'000'000, ' ');
  return text;
}

int usage(const char* program) {
  std::fprintf(stderr, "usage: %s startup | extract DIR RUNS | pane RUNS\n", program);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage(argv[0]);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ListingApp application(argc, argv);
  MainDialog window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  const std::string mode = argv[1];
  if (mode == "startup") return 0;

  const int runs = std::max(1, std::atoi(argv[argc - 1]));
  std::vector<double> times;
  QElapsedTimer timer;
  if (mode == "extract" && argc == 4) {
    if (!window.tree()->selectPath(argv[2])) return 1;
    auto* extraction = qobject_cast<QAbstractButton*>(window.control(1010));
    for (int run = 0; run < runs; ++run) {
      timer.start();
      extraction->click();
      QApplication::processEvents();
      times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
  } else if (mode == "pane" && argc == 3) {
    const std::string report = bigReport();
    for (int run = 0; run < runs; ++run) {
      window.pane()->clear();
      timer.start();
      window.pane()->setPlainText(paneText(report));
      window.pane()->repaint();
      times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
  } else {
    return usage(argv[0]);
  }
  std::printf("%.1f\n", medianOf(times));
  return 0;
}
