#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace tarvel {

// Asks where to save the report, starting in `folder` (the working folder when empty); nullopt
// when the user cancels. Tests answer it themselves.
class SaveFileChooser {
 public:
  virtual ~SaveFileChooser() = default;
  [[nodiscard]] virtual std::optional<QString> chooseSaveFile(QWidget* owner,
                                                              const QString& folder) = 0;
};

// The save-as dialog: "Dirs.txt" proposed, ".txt" added to a name typed without extension,
// text files or all files, confirmation before an existing file is replaced.
class FileDialogSaveChooser final : public SaveFileChooser {
 public:
  std::optional<QString> chooseSaveFile(QWidget* owner, const QString& folder) override;
};

}  // namespace tarvel
