#pragma once

#include <QString>
#include <QUrl>
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
  // Back to the book's first page, at its top.
  void showContents();

 private:
  QUrl index_;
  QTextBrowser* browser_;
};

}  // namespace tarvel
