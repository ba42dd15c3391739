#include "app/ListingApp.h"

#include <QIcon>
#include <QSettings>

#include "app/FrenchTexts.h"
#include "app/MainDialog.h"
#include "platform/Version.h"

namespace tarvel {

namespace {

// Qt's dialogs keep their state (the save dialog: folders visited, view, column widths) in a
// settings file of the user's. The program writes only what the user saves: settings go to a
// place where no file can be made ("/dev/null" is no folder), so they live in memory only.
void keepSettingsInMemory() {
  for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
    QSettings::setPath(format, QSettings::SystemScope, QStringLiteral("/dev/null"));
  }
}

}  // namespace

ListingApp::ListingApp(int& argc, char** argv) : QApplication(argc, argv) {
  FrenchDateFormats::restore();
  setApplicationName(QStringLiteral("Tarvelinquistombrel"));
  setApplicationVersion(QString::fromUtf8(kVersion.data(), kVersion.size()));
  setDesktopFileName(QStringLiteral("tarvelinquistombrel"));
  keepSettingsInMemory();
  installFrenchTexts(*this);
  QIcon icon;
  for (const int side : {16, 32, 48, 256}) {
    icon.addFile(QStringLiteral(":/icons/tarvelinquistombrel-%1.png").arg(side));
  }
  setWindowIcon(icon);
}

int ListingApp::initInstance() {
  MainDialog window;
  // Modal to its own (empty) family of windows: `exec` would otherwise block the whole
  // program, the help window included.
  window.setWindowModality(Qt::WindowModal);
  window.exec();
  return 0;
}

}  // namespace tarvel
