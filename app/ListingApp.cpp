#include "app/ListingApp.h"

#include <QIcon>

#include "app/MainDialog.h"
#include "platform/Version.h"

namespace tarvel {

ListingApp::ListingApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Tarvelinquistombrel"));
  setApplicationVersion(QString::fromUtf8(kVersion.data(), kVersion.size()));
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

}  // namespace tarvel
