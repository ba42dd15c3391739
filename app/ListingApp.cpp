#include "app/ListingApp.h"

#include <QIcon>

#include "app/MainDialog.h"

ListingApp::ListingApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Tarvelinquistombrel"));
  setApplicationVersion(QStringLiteral("1.5"));
  setDesktopFileName(QStringLiteral("org.example.Tarvelinquistombrel"));
  QIcon icon;
  for (const int side : {16, 32, 48, 256}) {
    icon.addFile(QStringLiteral(":/icons/tarvelinquistombrel-%1.png").arg(side));
  }
  setWindowIcon(icon);
}

int ListingApp::initInstance() {
  MainDialog window;
  window.exec();
  return 0;
}
