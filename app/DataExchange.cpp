#include "app/DataExchange.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace data_exchange {

void check(QWidget* control, bool save, int& member) {
  auto* box = qobject_cast<QAbstractButton*>(control);
  if (save) {
    member = box->isChecked() ? 1 : 0;
  } else {
    box->setChecked(member != 0);
  }
}

void check(QWidget* control, bool save, bool& member) {
  int value = member ? 1 : 0;
  check(control, save, value);
  member = value != 0;
}

void radio(QWidget* control, bool save, int& member) {
  auto* button = qobject_cast<QAbstractButton*>(control);
  if (save) {
    member = button->isChecked() ? 0 : -1;
  } else {
    button->setChecked(member == 0);
  }
}

void text(QWidget* control, bool save, QString& member) {
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

void text(QWidget* control, bool save, std::string& member) {
  QString value = QString::fromStdString(member);
  text(control, save, value);
  if (save) member = value.toStdString();
}

}  // namespace data_exchange
