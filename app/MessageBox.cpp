#include "app/MessageBox.h"

namespace tarvel {

void showMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                    const QString& caption) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::WindowModal);
  box.exec();
}

}  // namespace tarvel
