#pragma once

#include <QDialog>

namespace tarvel {

// The About box: the program's name and version, a few lines and its picture.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace tarvel
