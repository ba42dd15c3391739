#pragma once

#include <QApplication>

namespace tarvel {

// The program: one main window, run to its end. Nothing is read at start or stored at exit,
// so every start begins with the start-up values.
class ListingApp : public QApplication {
  Q_OBJECT

 public:
  ListingApp(int& argc, char** argv);
  // Shows the main window and returns when it is closed.
  int initInstance();
};

}  // namespace tarvel
