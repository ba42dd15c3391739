#pragma once

#include <QRadioButton>

namespace tarvel {

// A radio button that forms a group of its own: checking it unchecks no other button, and a
// click always leaves it checked (a click on a checked one does not uncheck it). The dialog's
// click handlers keep one button of a row checked.
class OwnGroupRadioButton final : public QRadioButton {
 public:
  explicit OwnGroupRadioButton(const QString& text, QWidget* parent = nullptr)
      : QRadioButton(text, parent) {
    setAutoExclusive(false);
  }

 protected:
  void nextCheckState() override { setChecked(true); }
};

}  // namespace tarvel
