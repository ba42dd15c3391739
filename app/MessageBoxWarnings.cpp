#include "app/MessageBoxWarnings.h"

#include "app/MessageBox.h"

namespace tarvel {

namespace {
QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void MessageBoxWarnings::warn(std::string_view caption, std::string_view message) {
  showMessageBox(owner_, QMessageBox::Warning, fromUtf8(message), fromUtf8(caption));
}

}  // namespace tarvel
