#pragma once

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QString>
#include <memory>

#include "app/HelpWindow.h"
#include "app/MessageBoxWarnings.h"
#include "app/ProgressBarSink.h"
#include "app/SaveFileChooser.h"
#include "browser/TreeSource.h"
#include "listing/ListingOptions.h"
#include "listing/ListingRun.h"

class QPlainTextEdit;
class QProgressBar;

namespace tarvel {

class FolderTree;

// The program's one window: the folder tree, the options, the folder size, the listing pane
// and the commands that take the listing out. Controls are bound to plain members by id and
// exchanged with `updateData`; handlers carry the names of the commands they serve.
class MainDialog : public QDialog {
  Q_OBJECT

 public:
  explicit MainDialog(QWidget* parent = nullptr);
  ~MainDialog() override;

  void updateData(bool save);

  void onExtraction();
  void onFormatOptions();
  void onOptionCheck();
  void onExtensionCheck();
  void onUpdateSize();
  void onTreeSelectOrClick();
  void onCopy();
  void onSaveAs();
  void onHelpCommand();
  void onAbout();

  QWidget* control(int id) const { return controls_.value(id); }
  FolderTree* tree() const;
  QPlainTextEdit* pane() const;
  QProgressBar* progressBar() const;
  HelpWindow* helpWindow() const { return help_; }
  const ListingOptions& options() const { return options_; }
  // The report as the last listing built it: what a save writes.
  const std::string& reportBuffer() const { return run_.report(); }
  // Where saves ask for a file name; tests answer it.
  void setSaveFileChooser(SaveFileChooser* chooser);

 public slots:
  void accept() override;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void onClicked(int id, void (MainDialog::*handler)());
  void showReport(const QString& text);

  QHash<int, QWidget*> controls_;
  ListingOptions options_;  // the only instance; the window's check boxes edit six of it
  bool autoUpdateSize_ = false;
  QString folderSizeText_;
  ListingRun run_;
  TreeSource treeSource_;
  std::unique_ptr<ProgressBarSink> progress_;
  MessageBoxWarnings messageBoxWarnings_;
  FileDialogSaveChooser fileDialogChooser_;
  SaveFileChooser* saveChooser_ = &fileDialogChooser_;
  QPointer<HelpWindow> help_;
};

}  // namespace tarvel
