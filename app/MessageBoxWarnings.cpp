#include "app/MessageBoxWarnings.h"

#include <QMessageBox>

namespace tarvel {

namespace {
QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void MessageBoxWarnings::warn(std::string_view caption, std::string_view message) {
  QMessageBox box(QMessageBox::Warning, fromUtf8(caption), fromUtf8(message), QMessageBox::Ok,
                  owner_);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::WindowModal);
  box.exec();
}

}  // namespace tarvel
