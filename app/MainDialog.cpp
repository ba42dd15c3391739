#include "app/MainDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>

#include "app/AboutDialog.h"
#include "app/ControlIds.h"
#include "app/DataExchange.h"
#include "app/DialogBuilder.h"
#include "app/FormatOptionsDialog.h"
#include "app/HelpWindow.h"
#include "app/PaneText.h"
#include "browser/FolderTree.h"
#include "listing/FolderSize.h"
#include "platform/FileError.h"
#include "platform/SafeFileWriter.h"

namespace tarvel {

namespace {

const QString kAboutItem = QStringLiteral("&A propos de Tarvelinquistombrel...");

// The folder the tree opens at start: the user's home, else the root.
std::string startFolder() {
  const QByteArray home = qgetenv("HOME");
  return home.startsWith('/') ? home.toStdString() : std::string();
}

}  // namespace

MainDialog::MainDialog(QWidget* parent) : QDialog(parent), messageBoxWarnings_(this) {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  controls_ = DialogBuilder().build(DialogTemplate::load(":/dialogs/main.json"), this);
  progress_ = std::make_unique<ProgressBarSink>(progressBar());
  run_.setProgressSink(progress_.get());
  run_.setWarningSink(&messageBoxWarnings_);

  onClicked(kQuit, &MainDialog::accept);
  onClicked(kHelp, &MainDialog::onHelpCommand);
  onClicked(kExtraction, &MainDialog::onExtraction);
  onClicked(kFormatOptions, &MainDialog::onFormatOptions);
  onClicked(kIncludeSubfolders, &MainDialog::onOptionCheck);
  onClicked(kCopy, &MainDialog::onCopy);
  onClicked(kUpdateSize, &MainDialog::onUpdateSize);
  onClicked(kAutoUpdateSize, &MainDialog::onOptionCheck);
  onClicked(kSaveAs, &MainDialog::onSaveAs);
  onClicked(kExtensionCheck, &MainDialog::onExtensionCheck);
  onClicked(kAbout, &MainDialog::onAbout);
  // A change of selection, whatever its cause, and every click on an item.
  connect(tree(), &QTreeWidget::currentItemChanged, this, &MainDialog::onTreeSelectOrClick);
  connect(tree(), &QTreeWidget::itemClicked, this, &MainDialog::onTreeSelectOrClick);
  // F1 reaches help from every window of the program.
  qApp->installEventFilter(this);

  setWindowIcon(QApplication::windowIcon());
  tree()->initTree(true);
  tree()->selectPath(startFolder());
  options_ = ListingOptions{};
  control(kExtensionEdit)->setEnabled(false);
  folderSizeText_ = QStringLiteral("Taille du dossier:");
  QFont paneFont(QStringLiteral("Courier New"));
  paneFont.setPixelSize(16);
  paneFont.setStyleHint(QFont::TypeWriter);
  paneFont.setFixedPitch(true);
  pane()->setFont(paneFont);
  updateData(false);
}

MainDialog::~MainDialog() {
  qApp->removeEventFilter(this);
  delete help_;  // the help goes with the window
}

void MainDialog::onClicked(int id, void (MainDialog::*handler)()) {
  connect(qobject_cast<QAbstractButton*>(control(id)), &QAbstractButton::clicked, this,
          [this, handler] { (this->*handler)(); });
}

FolderTree* MainDialog::tree() const {
  return qobject_cast<FolderTree*>(control(kTree));
}

QPlainTextEdit* MainDialog::pane() const {
  return qobject_cast<QPlainTextEdit*>(control(kPane));
}

QProgressBar* MainDialog::progressBar() const {
  return qobject_cast<QProgressBar*>(control(kProgress));
}

void MainDialog::setSaveFileChooser(SaveFileChooser* chooser) {
  saveChooser_ = chooser ? chooser : &fileDialogChooser_;
}

void MainDialog::updateData(bool save) {
  exchangeCheck(control(kIncludeSubfolders), save, options_.includeSubfolders);
  exchangeCheck(control(kExtractTree), save, options_.extractTree);
  exchangeCheck(control(kNoFolders), save, options_.noFolders);
  exchangeCheck(control(kNoFiles), save, options_.noFiles);
  exchangeText(control(kFolderSize), save, folderSizeText_);
  exchangeCheck(control(kAutoUpdateSize), save, autoUpdateSize_);
  exchangeText(control(kExtensionEdit), save, options_.extensionFilter);
  exchangeCheck(control(kExtensionCheck), save, options_.extensionFilterOn);
}

void MainDialog::accept() {
  updateData(true);
  QDialog::accept();
}

void MainDialog::showReport(const QString& text) {
  pane()->setPlainText(text);
  pane()->repaint();
}

void MainDialog::onExtraction() {
  const QTreeWidgetItem* item = tree()->currentItem();
  if (item == nullptr) return;
  updateData(true);
  showReport(QStringLiteral("Recherche des fichiers en cours ...\nVeuillez patienter ...\n"));
  run_.run(selectedItemOf(*tree(), item), options_, &treeSource_);
  progress_->flush();
  showReport(paneText(run_.report()));
}

void MainDialog::onFormatOptions() {
  FormatOptionsDialog dialog(this);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.form = FormatOptionsForm::fromOptions(options_);
  if (dialog.exec() == QDialog::Accepted) dialog.form.applyTo(options_);
}

void MainDialog::onOptionCheck() {
  updateData(true);
}

void MainDialog::onExtensionCheck() {
  updateData(true);
  control(kExtensionEdit)->setEnabled(options_.extensionFilterOn);
  updateData(false);
}

void MainDialog::onUpdateSize() {
  updateData(true);
  const QTreeWidgetItem* item = tree()->currentItem();
  if (item == nullptr) return;  // nothing selected: the line stays as it was
  // The item's kind decides: a folder is summed as a folder whatever the tree shows of it.
  const SelectedItem selected = selectedItemOf(*tree(), item);
  const auto total =
      sumFolderSize(selected.path, selected.kind == ItemKind::File, options_.includeSubfolders);
  folderSizeText_ = QString::fromStdString(sizeLine(total));
  updateData(false);
}

void MainDialog::onTreeSelectOrClick() {
  if (autoUpdateSize_) onUpdateSize();
}

void MainDialog::onCopy() {
  QPlainTextEdit* text = pane();
  text->selectAll();
  text->copy();
  QTextCursor cursor = text->textCursor();
  cursor.clearSelection();
  text->setTextCursor(cursor);
  text->verticalScrollBar()->setValue(0);
}

void MainDialog::onSaveAs() {
  const std::optional<QString> chosen = saveChooser_->chooseSaveFile(this);
  if (!chosen) return;
  const std::string path = QFile::encodeName(*chosen).toStdString();
  const FileWriteResult result = replaceFileContents(path, run_.report());
  if (result.ok) return;
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Tarvelinquistombrel"),
                  QString::fromStdString(fileErrorMessage(result.cause, path)), QMessageBox::Ok,
                  this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void MainDialog::onHelpCommand() {
  if (help_ == nullptr) {
    const QString index = HelpWindow::findIndexPage();
    if (index.isEmpty()) return;  // no help book: nothing to show
    // A window of its own, not the main window's child, so that it stays usable while a
    // dialog holds the main window.
    help_ = new HelpWindow(index, nullptr);
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void MainDialog::onAbout() {
  AboutDialog about(this);
  about.setWindowModality(Qt::WindowModal);
  about.exec();
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(kAboutItem, this, &MainDialog::onAbout);
  menu.exec(event->globalPos());
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key->key() == Qt::Key_F1 && modifiers == Qt::NoModifier) {
      onHelpCommand();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tarvel
