#pragma once

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/BackgroundJob.h"
#include "app/HelpWindow.h"
#include "app/MessageBoxWarnings.h"
#include "app/PathDropTarget.h"
#include "app/ProgressBarSink.h"
#include "app/ReportFeed.h"
#include "app/SaveFileChooser.h"
#include "browser/TreeSource.h"
#include "listing/ListingOptions.h"
#include "listing/ListingRun.h"

class QProgressBar;

namespace tarvel {

class FolderTree;
class ListingPane;

// The program's one window: the folder tree, the options, the folder size, the listing pane
// and the commands that take the listing out. Controls are bound to plain members by id and
// exchanged with `updateData`; handlers carry the names of the commands they serve.
//
// The disk walk of a listing and the folder size run on threads of their own, so the window
// keeps painting and closes at once; while a listing runs, the controls that would change it
// take no input.
class MainDialog : public QDialog {
  Q_OBJECT

 public:
  explicit MainDialog(QWidget* parent = nullptr);
  ~MainDialog() override;

  void updateData(bool save);

  // At start-up: the tree opens on the path the program was given rather than on the home
  // folder. Several paths, or one that cannot be selected, leave it on home as without them,
  // and a message box says what was wrong once the window shows.
  void startOn(const std::vector<std::string>& paths);
  // Opens the tree down to what `path` names (absolute, or relative to the working folder) and
  // selects it. Returns why it could not, in French; empty when it did.
  QString selectNamedPath(const std::string& path);

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
  ListingPane* pane() const;
  QProgressBar* progressBar() const;
  HelpWindow* helpWindow() const { return help_; }
  bool isListing() const { return listingJob_.running(); }
  bool isSizing() const { return sizeJob_.running(); }
  const ListingOptions& options() const { return options_; }
  // The report as the last listing built it: what a save writes.
  std::string_view reportBuffer() const;
  // Where saves ask for a file name; tests answer it.
  void setSaveFileChooser(SaveFileChooser* chooser);

 signals:
  // The report of a listing is in the pane.
  void listingFinished();
  // A folder size line is shown.
  void folderSizeShown();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void onClicked(int id, void (MainDialog::*handler)());
  void showReport(const QString& text);
  void listingEnded(std::exception_ptr failure);
  // Puts what the walk wrote since the last time in the pane.
  void takeReportPieces();
  // Puts `bytes` of the report in the pane, after what came before them.
  void showArrived(std::string_view bytes);
  // The stop box: `what` could not be done, and why.
  void showFailure(const QString& what, const std::exception_ptr& failure);
  void setListing(bool on);
  void updateCursor();
  void keepTitleBarOnScreen();
  void openHome();
  void openDropped(const std::string& path);

  QHash<int, QWidget*> controls_;
  ListingOptions options_;  // the only instance; the window's check boxes edit six of it
  bool autoUpdateSize_ = false;
  // Shared with the listing's thread, which may end after the window.
  std::shared_ptr<ListingRun> run_ = std::make_shared<ListingRun>();
  // The report on its way from the walk to the pane, written as the walk goes; what has come;
  // whether the pane shows the report yet, rather than the wait message; a failure to show
  // it, told when the walk ends.
  std::shared_ptr<ReportFeed> feed_ = std::make_shared<ReportFeed>();
  std::string arrived_;
  bool reportShown_ = false;
  std::exception_ptr reportFailure_;
  TreeSource treeSource_;
  std::shared_ptr<ProgressBarSink> progress_;
  MessageBoxWarnings messageBoxWarnings_;
  FileDialogSaveChooser fileDialogChooser_;
  SaveFileChooser* saveChooser_ = &fileDialogChooser_;
  QPointer<HelpWindow> help_;
  QString lastSaveFolder_;  // where the session last saved; the save dialog opens there
  QTimer progressTimer_{this};
  QPointer<QWidget> focusBeforeListing_;
  bool shownOnce_ = false;
  // A press that changes the selection and the click it ends in make one folder size.
  bool selectionJustChanged_ = false;
  bool clickChangedSelection_ = false;
  BackgroundJob listingJob_{this};
  BackgroundJob sizeJob_{this};
  PathDropTarget pathDrops_{[this] { return isListing(); },
                            [this](const std::string& path) { openDropped(path); }, this};
};

}  // namespace tarvel
