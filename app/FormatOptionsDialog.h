#pragma once

#include <QDialog>
#include <QHash>
#include <QString>

namespace tarvel {

// The formatting options, edited on a copy: the main window fills the members, runs the
// dialog, and takes them back only when it ends with OK. Check boxes hold 0 or 1; each radio
// button is its own group and holds 0 when checked and -1 (or 1) when not.
class FormatOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FormatOptionsDialog(QWidget* parent = nullptr);

  void updateData(bool save);
  QWidget* control(int id) const { return controls_.value(id); }

  int separatorOn = 0;
  int includeFooter = 0;
  int includeHeader = 0;
  int removeExtension = 0;
  int jukeboxMode = 0;
  int capitalizeNames = 0;
  int absolutePathRadio = -1;
  int noPathRadio = -1;
  int relativePathRadio = -1;
  QString separatorText;
  int applyPathOptionsToFiles = 0;
  int treeStyle = 0;
  int afterAllRadio = -1;
  int afterNameRadio = -1;
  int afterNonEmptyRadio = -1;
  int includeFileSize = 0;

  void onSeparatorCheck();
  void onNoPath();
  void onRelativePath();
  void onAbsolutePath();
  void onDefaults();
  void onAfterDirectoryName();
  void onAfterAllDirectories();
  void onAfterNonEmptyDirectory();
  void onJukeboxCheck();

 public slots:
  int exec() override;
  void accept() override;

 private:
  void onClicked(int id, void (FormatOptionsDialog::*handler)());
  void setPlacementEnabled(bool enabled);

  QHash<int, QWidget*> controls_;
};

}  // namespace tarvel
