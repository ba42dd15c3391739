#include "app/DataExchange.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace tarvel {

void exchangeCheck(QWidget* control, bool save, int& member) {
  auto* box = qobject_cast<QAbstractButton*>(control);
  if (save) {
    member = box->isChecked() ? 1 : 0;
  } else {
    box->setChecked(member != 0);
  }
}

void exchangeCheck(QWidget* control, bool save, bool& member) {
  int value = member ? 1 : 0;
  exchangeCheck(control, save, value);
  member = value != 0;
}

void exchangeRadio(QWidget* control, bool save, int& member) {
  auto* button = qobject_cast<QAbstractButton*>(control);
  if (save) {
    member = button->isChecked() ? 0 : -1;
  } else {
    button->setChecked(member == 0);
  }
}

void exchangeText(QWidget* control, bool save, QString& member) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (save) {
      member = edit->text();
    } else {
      edit->setText(member);
    }
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    if (save) {
      member = label->text();
    } else {
      label->setText(member);
    }
  }
}

void exchangeText(QWidget* control, bool save, std::string& member) {
  QString value = QString::fromStdString(member);
  exchangeText(control, save, value);
  if (save) member = value.toStdString();
}

}  // namespace tarvel
