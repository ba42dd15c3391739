#pragma once

#include <QApplication>

#include "app/FrenchSystemLocale.h"
#include "app/StartArguments.h"

namespace tarvel {

// The program: one main window, run to its end. Nothing is read at start or stored at exit,
// so every start begins with the start-up values; every text is French.
class ListingApp : private FrenchSystemLocale, public QApplication {
 public:
  // Qt takes its own options out of the arguments; the rest are the window's.
  ListingApp(int& argc, char** argv);
  // Runs the main window in its own modal loop and returns when it is closed, the tree open on
  // the path the program was given. The loop blocks no other window: the help stays usable
  // beside it, and the window's own dialogs block only the window. An option the window does
  // not know ends the program before any window shows.
  [[nodiscard]] int initInstance();
  // Qt carries no exception through its event loop: what a handler throws (memory running
  // short, mostly) is told in a box, and the window goes on with what it had.
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  StartArguments start_;
};

}  // namespace tarvel
