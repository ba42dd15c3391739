#pragma once

#include <functional>

#include <QDialog>
#include <QHash>

#include "app/FormatOptionsForm.h"

namespace tarvel {

// The formatting options, edited on a copy: the main window fills `form`, runs the dialog, and
// takes the form back only when it ends with OK. The rules of its buttons are the form's; the
// dialog moves values between the form and its controls.
class FormatOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FormatOptionsDialog(QWidget* parent = nullptr);

  void updateData(bool save);
  QWidget* control(int id) const { return controls_.value(id); }

  FormatOptionsForm form;

 public slots:
  int exec() override;
  void accept() override;

 private:
  // A click on `id` reads the controls (unless `readFirst` is false), applies `rule` to the
  // form and shows the form.
  void onClicked(int id, std::function<void(FormatOptionsForm&)> rule, bool readFirst = true);
  void showEnabledControls();

  QHash<int, QWidget*> controls_;
};

}  // namespace tarvel
