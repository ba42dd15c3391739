#include "app/AboutDialog.h"

#include <QPushButton>

#include "app/DialogBuilder.h"

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  const auto controls = DialogBuilder().build(DialogTemplate::load(":/dialogs/about.json"), this);
  connect(qobject_cast<QPushButton*>(controls.value(1)), &QPushButton::clicked, this,
          &QDialog::accept);
}
