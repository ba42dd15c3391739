#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace tarvel {

// The help book in a window of its own, opened at its first page. The book is looked for
// beside the program (a build tree) and where installation puts it.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(const QString& indexPage, QWidget* owner);

  // The book's first page, or the empty text when no book is found.
  static QString findIndexPage();

  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace tarvel
