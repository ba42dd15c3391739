#include "app/HelpWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPalette>
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
  // The pages are dark on white whatever the desktop's colours (style.css); what the browser
  // draws from its palette on them, the list bullets among it, takes the pages' text colour.
  QPalette page = browser_->palette();
  page.setColor(QPalette::Text, QColor(0x1d, 0x26, 0x33));
  page.setColor(QPalette::Base, Qt::white);
  browser_->setPalette(page);
  showContents();
  resize(640, 560);
}

void HelpWindow::showContents() {
  browser_->setSource(index_);  // at its top, even where it was already shown
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
