#include "app/HelpWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tarvel {

HelpWindow::HelpWindow(const QString& indexPage, QWidget* owner)
    : QWidget(owner, Qt::Window),
      index_(QUrl::fromLocalFile(indexPage)),
      browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Aide de Tarvelinquistombrel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  browser_->setAccessibleName(QStringLiteral("Aide"));
  showContents();
  resize(640, 560);
}

void HelpWindow::showContents() {
  browser_->setSource(index_);
  browser_->verticalScrollBar()->setValue(0);
  browser_->horizontalScrollBar()->setValue(0);
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
