#pragma once

#include <QPlainTextEdit>

namespace tarvel {

// The listing pane. Its own copy (Ctrl+C, its menu) gives the selection as it shows it, in
// plain text only, as "Copier" gives the whole text. Every line is as high as every other
// (EvenLineLayout).
class ReportPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ReportPane(QWidget* parent = nullptr);

 protected:
  QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace tarvel
