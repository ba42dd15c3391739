#include "app/AboutDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "app/DialogBuilder.h"

namespace tarvel {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  const auto controls = DialogBuilder().build(DialogTemplate::load(":/dialogs/about.json"), this);
  for (QLabel* label : findChildren<QLabel*>()) {
    label->setText(
        label->text().replace(QStringLiteral("{version}"), QCoreApplication::applicationVersion()));
  }
  connect(qobject_cast<QPushButton*>(controls.value(1)), &QPushButton::clicked, this,
          &QDialog::accept);
}

}  // namespace tarvel
