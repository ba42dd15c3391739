// Times the window, offscreen. One measure per run of the program:
//
//   tarvel_gui_bench startup            starts the program and returns once its window is shown
//   tarvel_gui_bench extract DIR RUNS   "Extraction" on DIR, from the click to the report shown;
//                                       prints the median of its wall time, then of the
//                                       processor time (user and system, all threads) it took
//   tarvel_gui_bench gaps DIR RUNS      the longest time the window goes without painting during
//                                       "Extraction" on DIR, asked to paint every 5 ms
//   tarvel_gui_bench quit DIR WHEN      the program's own loop: "Extraction" on DIR, then
//                                       "&Quitter" WHEN ms later, or as soon as the report goes
//                                       into the pane (WHEN is "fill"); prints the monotonic
//                                       clock (ns) at the click, for the caller to time the
//                                       exit, and 1 if the Extraction was still going on
//   tarvel_gui_bench interrupt DIR RUNS with "Mettre à jour automatiquement" on, selects the
//                                       folder DIR/wide, and 30 ms into its folder size selects
//                                       DIR/small: the longest time the window goes without
//                                       painting from that selection to the small folder's
//                                       size shown, asked to paint every 5 ms
//   tarvel_gui_bench memory DIR         "Extraction" on DIR; prints the peak memory (KiB) and
//                                       the report's size (bytes)
//   tarvel_gui_bench pane RUNS          the pane receiving a report of 5,000,000 characters
//   tarvel_gui_bench paste DIR          under X: "Extraction" on DIR, then "Copier"; prints the
//                                       copy's time (ms), the memory then (KiB) and the
//                                       clipboard's size (bytes); then, once a line comes on
//                                       standard input (the caller's paste is done), the
//                                       longest time the window went without a 2 ms timer tick
//                                       and its largest memory (KiB) since the copy
//
// extract, gaps, interrupt and pane print their median in milliseconds; interrupt also prints
// its longest.
#include <sys/resource.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSocketNotifier>
#include <fstream>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/BackgroundJob.h"
#include "app/ControlIds.h"
#include "app/ListingApp.h"
#include "app/ListingPane.h"
#include "app/MainDialog.h"
#include "browser/FolderTree.h"

using namespace tarvel;

namespace {

double medianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The processor time (user and system) the process has taken so far, in milliseconds.
double processorMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
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

// Records the longest time between two paints of the window.
class PaintGaps : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
      if (sincePaint.isValid()) longest = std::max(longest, sincePaint.nsecsElapsed());
      sincePaint.restart();
    }
    return false;
  }
  QElapsedTimer sincePaint;
  qint64 longest = 0;
};

void extractAndWait(MainDialog& window) {
  QEventLoop done;
  QObject::connect(&window, &MainDialog::listingFinished, &done, &QEventLoop::quit);
  qobject_cast<QAbstractButton*>(window.control(kExtraction))->click();
  if (window.isListing()) done.exec();
  QApplication::processEvents();
}

// Tells the caller when "&Quitter" is clicked, and whether the Extraction was still going on.
void quitNow(MainDialog* window, bool busy) {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  std::printf(
      "%lld %d\n",
      static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
      busy ? 1 : 0);
  std::fflush(stdout);
  qobject_cast<QAbstractButton*>(window->control(kQuit))->click();
}

// The memory the process holds now, in KiB.
long residentKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

// Waits `ms` milliseconds with the window's events served.
void serveEvents(int ms) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 1);
}

int usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s startup | extract|gaps|interrupt DIR RUNS | quit DIR WHEN | memory DIR | "
               "pane RUNS | paste DIR\n",
               program);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage(argv[0]);
  const std::string mode = argv[1];
  if (mode != "paste") qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string dir = argc > 2 ? argv[2] : "";
  int programOnly = 1;  // the arguments are the benchmark's, not a folder for the window
  ListingApp application(programOnly, argv);
  if (mode == "quit" && argc == 4) {
    const std::string when = argv[3];
    QTimer poll;
    QTimer::singleShot(0, [&dir, &when, &poll] {
      auto* window = qobject_cast<MainDialog*>(QApplication::activeModalWidget());
      window->tree()->selectPath(dir);
      qobject_cast<QAbstractButton*>(window->control(kExtraction))->click();
      // The pane is read-only while the report goes in.
      const auto filling = [window] { return window->pane()->isReadOnly(); };
      QObject::connect(&poll, &QTimer::timeout, [&poll, window, filling] {
        if (!filling()) return;
        poll.stop();
        quitNow(window, true);
      });
      if (when == "fill") {
        poll.start(1);
      } else {
        QTimer::singleShot(std::atoi(when.c_str()), [window, filling] {
          quitNow(window, window->isListing() || filling());
        });
      }
    });
    return application.initInstance();
  }

  MainDialog window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  if (mode == "startup") return 0;

  const int runs = std::max(1, std::atoi(argv[argc - 1]));
  std::vector<double> times;
  std::vector<double> processor;
  std::vector<double> gaps;
  QElapsedTimer timer;
  if ((mode == "extract" || mode == "gaps") && argc == 4) {
    if (!window.tree()->selectPath(dir)) return 1;
    PaintGaps paints;
    QTimer repaint;
    if (mode == "gaps") {
      window.installEventFilter(&paints);
      QObject::connect(&repaint, &QTimer::timeout, &window, [&window] { window.update(); });
      repaint.start(5);
    }
    for (int run = 0; run < runs; ++run) {
      paints.longest = 0;
      paints.sincePaint.invalidate();
      const double processorBefore = processorMs();
      timer.start();
      extractAndWait(window);
      times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
      processor.push_back(processorMs() - processorBefore);
      gaps.push_back(static_cast<double>(paints.longest) / 1e6);
    }
    if (mode == "gaps") {
      std::printf("%.1f\n", medianOf(gaps));
    } else {
      std::printf("%.1f %.1f\n", medianOf(times), medianOf(processor));
    }
    return 0;
  }
  if (mode == "interrupt" && argc == 4) {
    // Selected without opening them: the tree would otherwise list 300,000 items.
    if (!window.tree()->selectPath(dir)) return 1;
    QTreeWidget& tree = *window.tree();
    QTreeWidgetItem* top = tree.currentItem();
    QTreeWidgetItem* wide = window.tree()->findChildByText(top, "wide");
    QTreeWidgetItem* small = window.tree()->findChildByText(top, "small");
    if (wide == nullptr || small == nullptr) return 1;
    qobject_cast<QAbstractButton*>(window.control(kAutoUpdateSize))->click();
    PaintGaps paints;
    window.installEventFilter(&paints);
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, &window, [&window] { window.update(); });
    repaint.start(5);
    for (int run = 0; run < runs; ++run) {
      tree.setCurrentItem(wide);
      serveEvents(30);
      if (!window.isSizing()) return 1;  // the sum must still run when it is interrupted
      paints.longest = 0;
      paints.sincePaint.restart();
      tree.setCurrentItem(small);
      while (window.isSizing()) QApplication::processEvents(QEventLoop::AllEvents, 1);
      serveEvents(20);
      gaps.push_back(static_cast<double>(paints.longest) / 1e6);
      // The stopped sum ends on its own before the next run.
      BackgroundJob::waitForAllWork(std::chrono::seconds(10));
    }
    std::printf("%.1f %.1f\n", medianOf(gaps), *std::max_element(gaps.begin(), gaps.end()));
    return 0;
  }
  if (mode == "memory" && argc == 3) {
    if (!window.tree()->selectPath(dir)) return 1;
    extractAndWait(window);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld %zu\n", usage.ru_maxrss, window.reportBuffer().size());
    return 0;
  }
  if (mode == "paste" && argc == 3) {
    if (!window.tree()->selectPath(dir)) return 1;
    extractAndWait(window);
    timer.start();
    qobject_cast<QAbstractButton*>(window.control(kCopy))->click();
    const double copyMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf(
        "%.1f %ld %lld\n", copyMs, residentKib(),
        static_cast<long long>(
            QApplication::clipboard()->mimeData()->data(QStringLiteral("text/plain")).size()));
    std::fflush(stdout);
    qint64 longest = 0;
    long largest = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
      longest = std::max(longest, sinceTick.restart());
      largest = std::max(largest, residentKib());
    });
    tick.start(2);
    QSocketNotifier pasted(0, QSocketNotifier::Read);
    QObject::connect(&pasted, &QSocketNotifier::activated, [&] {
      std::printf("%lld %ld\n", static_cast<long long>(longest), largest);
      std::fflush(stdout);
      QApplication::quit();
    });
    return QApplication::exec();
  }
  if (mode == "pane" && argc == 3) {
    const std::string report = bigReport();
    for (int run = 0; run < runs; ++run) {
      window.pane()->clear();
      timer.start();
      window.pane()->showText(report);
      window.pane()->repaint();
      times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%.1f\n", medianOf(times));
    return 0;
  }
  return usage(argv[0]);
}
