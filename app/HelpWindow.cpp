#include "app/HelpWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tarvel {

HelpWindow::HelpWindow(const QString& indexPage, QWidget* owner)
    : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Aide de Tarvelinquistombrel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl::fromLocalFile(indexPage));
  resize(640, 560);
}

QString HelpWindow::findIndexPage() {
  const QString programFolder = QCoreApplication::applicationDirPath();
  for (const QString& folder :
       {programFolder + QStringLiteral("/help"),
        programFolder + QStringLiteral("/../share/tarvelinquistombrel/help")}) {
    const QFileInfo index(folder + QStringLiteral("/index.html"));
    if (index.isFile()) return index.canonicalFilePath();
  }
  return {};
}

}  // namespace tarvel
