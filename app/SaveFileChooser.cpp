#include "app/SaveFileChooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace tarvel {

namespace {

// Adds the default extension to a name typed without one before the dialog checks the name,
// so that replacing an existing "name.txt" is confirmed like any other. (The dialog's own
// default suffix is not applied to a typed name in every Qt version.)
class TextFileDialog final : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

 protected:
  void accept() override {
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
      const QString typed = name->text();
      const QFileInfo file(directory(), typed);
      if (!typed.isEmpty() && !file.fileName().contains(QLatin1Char('.')) && !file.isDir()) {
        name->setText(typed + QLatin1Char('.') + defaultSuffix());
      }
    }
    QFileDialog::accept();
  }
};

}  // namespace

std::optional<QString> FileDialogSaveChooser::chooseSaveFile(QWidget* owner,
                                                             const QString& folder) {
  TextFileDialog dialog(owner);
  dialog.setWindowModality(Qt::WindowModal);  // blocks the window, not the help
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // Each entry shows its name as written and filters with the patterns in the last brackets,
  // which the dialog hides: the shown "(*.txt,*.log,*.wri)" is not a pattern list it can read.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters({QStringLiteral("Fichiers Textes (*.txt,*.log,*.wri) (*.txt *.log *.wri)"),
                         QStringLiteral("Tous fichiers (*.*) (*)")});
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  if (!folder.isEmpty()) dialog.setDirectory(folder);
  dialog.selectFile(QStringLiteral("Dirs.txt"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

}  // namespace tarvel
