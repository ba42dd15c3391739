#include "app/ListingApp.h"

#include <malloc.h>

#include <QIcon>
#include <QSettings>

#include "app/FrenchTexts.h"
#include "app/MainDialog.h"
#include "app/MessageBox.h"
#include "platform/FailureCause.h"
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

// Big buffers (the report, the pane's text) get mappings of their own, which grow without a
// copy and go back to the system when freed. Left to itself, the C library raises that limit
// after the first big buffer is freed, and later ones then come from the heap: each growth
// copies, and what is freed stays with the process.
void mapBigBuffersApart() {
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

}  // namespace

ListingApp::ListingApp(int& argc, char** argv)
    : QApplication(argc, argv), start_(parseStartArguments(argc, argv)) {
  FrenchSystemLocale::restore();
  mapBigBuffersApart();
  setApplicationName(QStringLiteral("Tarvelinquistombrel"));
  setApplicationVersion(QString::fromUtf8(kVersion.data(), kVersion.size()));
  setDesktopFileName(QStringLiteral("org.example.Tarvelinquistombrel"));
  keepSettingsInMemory();
  installFrenchTexts(*this);
  QIcon icon;
  for (const int side : {16, 32, 48, 256}) {
    icon.addFile(QStringLiteral(":/icons/tarvelinquistombrel-%1.png").arg(side));
  }
  setWindowIcon(icon);
}

int ListingApp::initInstance() {
  if (!start_.unknownOption.empty()) return refuseUnknownOption(start_.unknownOption);
  MainDialog window;
  window.startOn(start_.paths);
  // Modal to its own (empty) family of windows: `exec` would otherwise block the whole
  // program, the help window included.
  window.setWindowModality(Qt::WindowModal);
  window.exec();
  return 0;
}

bool ListingApp::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    const QString cause = QString::fromStdString(failureCause(std::current_exception()));
    showMessageBox(activeWindow(), QMessageBox::Critical,
                   QStringLiteral("L'opération n'a pas pu aboutir : %1.").arg(cause));
    return false;
  }
}

}  // namespace tarvel
