#pragma once

#include <QApplication>

#include "app/FrenchSystemLocale.h"

namespace tarvel {

// The program: one main window, run to its end. Nothing is read at start or stored at exit,
// so every start begins with the start-up values; every text is French.
class ListingApp : private FrenchSystemLocale, public QApplication {
 public:
  ListingApp(int& argc, char** argv);
  // Runs the main window in its own modal loop and returns when it is closed. The loop blocks
  // no other window: the help stays usable beside it, and the window's own dialogs block only
  // the window.
  [[nodiscard]] int initInstance();
};

}  // namespace tarvel
