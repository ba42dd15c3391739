#include "app/ReportPane.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

#include "app/EvenLineLayout.h"

namespace tarvel {

ReportPane::ReportPane(QWidget* parent) : QPlainTextEdit(parent) {
  // A document of the pane's own, so that its layout is in place before any text.
  auto* document = new QTextDocument(this);
  document->setDocumentLayout(new EvenLineLayout(document));
  setDocument(document);
  document->setDefaultFont(font());  // the font it was born with, which no change announces
}

QMimeData* ReportPane::createMimeDataFromSelection() const {
  // The document's own copy would also offer rich forms, built from the selection when a paste
  // asks, and turn no-break spaces into spaces.
  QString text = textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  auto* plainText = new QMimeData;
  plainText->setData(QStringLiteral("text/plain"), text.toUtf8());
  return plainText;
}

}  // namespace tarvel
