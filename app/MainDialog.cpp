#include "app/MainDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>
#include <utility>

#include "app/AboutDialog.h"
#include "app/ControlIds.h"
#include "app/DataExchange.h"
#include "app/DialogBuilder.h"
#include "app/FormatOptionsDialog.h"
#include "app/HelpWindow.h"
#include "app/ListingPane.h"
#include "app/MessageBox.h"
#include "app/ReportView.h"
#include "browser/FolderTree.h"
#include "listing/FolderSize.h"
#include "listing/PathArgument.h"
#include "platform/FailureCause.h"
#include "platform/FileError.h"
#include "platform/PathRules.h"
#include "platform/SafeFileWriter.h"
#include "platform/TerminalQuote.h"

namespace tarvel {

namespace {

const QString kAboutItem = QStringLiteral("&A propos de Tarvelinquistombrel...");

// What a listing reads from these controls, or where it puts its report: they take no input
// while a listing runs.
constexpr int kChangeTheListing[] = {kTree,          kExtraction, kIncludeSubfolders,
                                     kNoFiles,       kNoFolders,  kExtractTree,
                                     kFormatOptions, kSaveAs,     kExtensionCheck};

// The folder the tree opens at start: the user's home, else the root.
std::string startFolder() {
  const QByteArray home = qgetenv("HOME");
  return home.startsWith('/') ? home.toStdString() : std::string();
}

// A message as a box shows it: a capital first, a full stop last.
QString sentence(const std::string& message) {
  QString text = QString::fromStdString(message);
  if (!text.isEmpty()) text[0] = text[0].toUpper();
  if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
  return text;
}

}  // namespace

MainDialog::MainDialog(QWidget* parent) : QDialog(parent), messageBoxWarnings_(this) {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  controls_ = DialogBuilder().build(DialogTemplate::load(":/dialogs/main.json"), this);
  progress_ = std::make_shared<ProgressBarSink>(progressBar());
  run_->setProgressSink(progress_.get());
  run_->setOutput(feed_.get());

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
  // A change of selection, whatever its cause, and every click on an item; but a click that
  // selects an item counts once. The press selects, then the release clicks.
  connect(tree(), &QTreeWidget::currentItemChanged, this, [this] {
    selectionJustChanged_ = true;
    QTimer::singleShot(0, this, [this] { selectionJustChanged_ = false; });
    onTreeSelectOrClick();
  });
  connect(tree(), &QTreeWidget::itemPressed, this,
          [this] { clickChangedSelection_ = selectionJustChanged_; });
  connect(tree(), &QTreeWidget::itemClicked, this, [this] {
    if (!clickChangedSelection_) onTreeSelectOrClick();
  });
  progressTimer_.setInterval(ProgressBarSink::kShowIntervalMs);
  connect(&progressTimer_, &QTimer::timeout, this, [this] {
    progress_->flush();
    takeReportPieces();
  });
  // F1 reaches help from every window of the program.
  qApp->installEventFilter(this);

  openHome();
  pathDrops_.watch(tree());
  pane()->view()->setAccessibleName(pane()->accessibleName());  // what a screen reader reads
  pathDrops_.watch(pane()->view());
  connect(pane(), &ListingPane::editorMade, this,
          [this](QAbstractScrollArea* editor) { pathDrops_.watch(editor); });
  options_ = ListingOptions{};
  control(kExtensionEdit)->setEnabled(false);
  QFont paneFont(QStringLiteral("Courier New"));
  paneFont.setPixelSize(16);
  paneFont.setStyleHint(QFont::TypeWriter);
  pane()->setFont(paneFont);
  updateData(false);
}

MainDialog::~MainDialog() {
  qApp->removeEventFilter(this);
  delete help_;  // the help goes with the window
}

void MainDialog::openHome() {
  tree()->initTree();
  // A start folder gone from the disk leaves the root shown, nothing selected.
  static_cast<void>(tree()->selectPath(startFolder()));
}

void MainDialog::startOn(const std::vector<std::string>& paths) {
  QString problem;
  if (paths.size() > 1) {
    std::string named;
    for (const std::string& path : paths) named += (named.empty() ? "" : ", ") + quotePath(path);
    problem = sentence("un seul dossier ou fichier s'ouvre au démarrage, " +
                       std::to_string(paths.size()) + " chemins ont été donnés : " + named);
  } else if (paths.size() == 1) {
    problem = selectNamedPath(paths.front());
  }
  if (problem.isEmpty()) return;
  openHome();  // a tree opened part of the way goes back to what it shows without a path
  QTimer::singleShot(0, this, [this, problem] {
    messageBoxWarnings_.warn("Tarvelinquistombrel", problem.toStdString());
  });
}

QString MainDialog::selectNamedPath(const std::string& path) {
  // The empty text would name the working folder.
  if (path.empty()) return sentence("le chemin indiqué est vide");
  const PathArgument named = resolvePathArgument(path);
  if (!named.ok) return sentence(named.error);
  if (!tree()->selectPath(named.item.path)) {
    return sentence(quotePath(displayPath(named.item.path)) +
                    " ne peut pas être ouvert dans l'arborescence");
  }
  return {};
}

void MainDialog::openDropped(const std::string& path) {
  // The tree scrolls to the item it selects by itself.
  const QString problem = selectNamedPath(path);
  if (!problem.isEmpty()) messageBoxWarnings_.warn("Tarvelinquistombrel", problem.toStdString());
}

void MainDialog::onClicked(int id, void (MainDialog::*handler)()) {
  connect(qobject_cast<QAbstractButton*>(control(id)), &QAbstractButton::clicked, this,
          [this, handler] { (this->*handler)(); });
}

FolderTree* MainDialog::tree() const {
  return qobject_cast<FolderTree*>(control(kTree));
}

ListingPane* MainDialog::pane() const {
  return qobject_cast<ListingPane*>(control(kPane));
}

std::string_view MainDialog::reportBuffer() const {
  return pane()->report();
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
  exchangeCheck(control(kAutoUpdateSize), save, autoUpdateSize_);
  exchangeText(control(kExtensionEdit), save, options_.extensionFilter);
  exchangeCheck(control(kExtensionCheck), save, options_.extensionFilterOn);
}

void MainDialog::showReport(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  pane()->showText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  pane()->repaint();
}

void MainDialog::onExtraction() {
  const QTreeWidgetItem* item = tree()->currentItem();
  if (item == nullptr || isListing()) return;
  updateData(true);
  showReport(QStringLiteral("Recherche des fichiers en cours ...\nVeuillez patienter ...\n"));
  reportShown_ = false;
  reportFailure_ = nullptr;
  const SelectedItem selected = selectedItemOf(*tree(), item);
  if (options_.extractTree) {
    // The tree's items belong to this thread: a listing of what the tree shows runs here.
    run_->setWarningSink(&messageBoxWarnings_);
    std::exception_ptr failure;
    try {
      run_->run(selected, options_, &treeSource_);
    } catch (...) {
      failure = std::current_exception();
    }
    listingEnded(failure);  // ran here: no input reached the window meanwhile, boxes are modal
    return;
  }
  run_->setWarningSink(nullptr);  // the disk knows sizes: no warning to give
  // The thread holds what it fills, and the bar's values, for as long as it runs. The pane
  // fills as the walk writes, at every tick of the progress timer.
  listingJob_.start([run = run_, progress = progress_, feed = feed_, selected, options = options_](
                        std::stop_token stop) { run->run(selected, options, nullptr, stop); },
                    [this](const std::exception_ptr& failure) {
                      listingEnded(failure);
                      setListing(false);
                    });
  setListing(true);
}

void MainDialog::takeReportPieces() {
  if (!progressTimer_.isActive()) return;  // the listing's end takes the rest itself
  feed_->take(arrived_);
  showArrived(arrived_);
}

void MainDialog::showArrived(std::string_view bytes) {
  // The wait message stays until the report's first bytes, or its end when it has none.
  if (bytes.empty() || reportFailure_) return;
  try {
    if (!std::exchange(reportShown_, true)) pane()->clear();
    pane()->append(bytes);
  } catch (...) {
    reportFailure_ = std::current_exception();
  }
}

void MainDialog::listingEnded(std::exception_ptr failure) {
  progressTimer_.stop();
  progress_->flush();
  feed_->take(arrived_);  // taken in any case, so that a failed listing leaves nothing behind
  if (!failure) {
    showArrived(arrived_);
    showArrived(run_->report());         // the end, which the walk hands over only as it ends
    if (!reportShown_) pane()->clear();  // an empty report
    failure = reportFailure_;
  }
  if (failure) {
    showReport(QString());  // a beginning must not pass for the report
    showFailure(QStringLiteral("La liste n'a pas pu être faite"), failure);
    return;
  }
  emit listingFinished();
}

void MainDialog::showFailure(const QString& what, const std::exception_ptr& failure) {
  showMessageBox(this, QMessageBox::Critical,
                 what + QStringLiteral(" : ") + QString::fromStdString(failureCause(failure)) +
                     QLatin1Char('.'));
}

void MainDialog::setListing(bool on) {
  if (on) focusBeforeListing_ = focusWidget();
  pane()->setReadOnly(on);
  for (const int id : kChangeTheListing) control(id)->setEnabled(!on);
  control(kExtensionEdit)->setEnabled(!on && options_.extensionFilterOn);
  if (on) {
    progressTimer_.start();
  } else {
    progressTimer_.stop();
    if (focusBeforeListing_ != nullptr) focusBeforeListing_->setFocus();
  }
  updateCursor();
}

void MainDialog::updateCursor() {
  if (isListing() || isSizing()) {
    setCursor(Qt::BusyCursor);
  } else {
    unsetCursor();
  }
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
}

void MainDialog::onUpdateSize() {
  // The boxes are read as they are clicked: the one that matters here is current.
  const QTreeWidgetItem* item = tree()->currentItem();
  if (item == nullptr) return;  // nothing selected: the line stays as it was
  // The item's kind decides: a folder is summed as a folder whatever the tree shows of it.
  const SelectedItem selected = selectedItemOf(*tree(), item);
  auto total = std::make_shared<std::uint64_t>(0);
  sizeJob_.start(
      [total, path = selected.path, isEntry = selected.kind == ItemKind::File,
       subfolders = options_.includeSubfolders](std::stop_token stop) {
        *total = sumFolderSize(path, isEntry, subfolders, stop);
      },
      [this, total](const std::exception_ptr& failure) {
        // A sum that failed shows no number rather than an older one. Only the line: the other
        // controls may hold changes not read yet.
        QString line = failure ? QStringLiteral("Taille du dossier:")
                               : QString::fromStdString(sizeLine(*total));
        exchangeText(control(kFolderSize), false, line);
        updateCursor();
        if (failure)
          showFailure(QStringLiteral("La taille du dossier n'a pas pu être calculée"), failure);
        emit folderSizeShown();
      });
  updateCursor();
}

void MainDialog::onTreeSelectOrClick() {
  if (autoUpdateSize_) onUpdateSize();
}

void MainDialog::onCopy() {
  // Plain text only, made here once. The pane's own copy would also offer rich forms of the
  // text, each built from the whole document when a paste asks for it.
  auto* plainText = new QMimeData;
  plainText->setData(QStringLiteral("text/plain"), paneText(pane()));
  QApplication::clipboard()->setMimeData(plainText);
  pane()->unselectShowingTop();
}

void MainDialog::onSaveAs() {
  // The window takes the keyboard back itself: once the save dialog and its questions are gone,
  // a window manager may leave no window active. Active again, it gives the keyboard back to the
  // control that had it.
  const auto giveFocusBack = qScopeGuard([this] { activateWindow(); });
  const std::optional<QString> chosen = saveChooser_->chooseSaveFile(this, lastSaveFolder_);
  if (!chosen) return;
  const std::string path = QFile::encodeName(*chosen).toStdString();
  const FileWriteResult result =
      replaceFileContents(path, pane()->report(), PipeReader::MustBeThere);
  if (result.ok) {
    lastSaveFolder_ = QFileInfo(*chosen).absolutePath();
    return;
  }
  showMessageBox(this, QMessageBox::Critical,
                 QString::fromStdString(fileErrorMessage(result.cause, path)));
}

void MainDialog::onHelpCommand() {
  if (help_ == nullptr) {
    const QString index = HelpWindow::findIndexPage();
    if (index.isEmpty()) return;  // no help book: nothing to show
    // A window of its own, not the main window's child, so that it stays usable while a
    // dialog holds the main window.
    help_ = new HelpWindow(index, nullptr);
  }
  help_->showContents();
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void MainDialog::onAbout() {
  AboutDialog about(this);
  about.setWindowModality(Qt::WindowModal);
  about.exec();
}

void MainDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (std::exchange(shownOnce_, true)) return;
  keepTitleBarOnScreen();
  // The home folder at the top, its first items below it: laid out only now.
  if (QTreeWidgetItem* current = tree()->currentItem()) {
    tree()->scrollToItem(current, QAbstractItemView::PositionAtTop);
  }
}

void MainDialog::keepTitleBarOnScreen() {
  // The window has a fixed size: at a large scale factor it may not fit the screen, and the
  // window manager, like Qt, would centre it with its title bar, the handle to move it by,
  // out of reach above the screen.
  const QRect available = screen()->availableGeometry();
  if (width() <= available.width() && height() <= available.height()) return;
  move(std::max(available.left(), std::min(x(), available.right() - width())), available.top());
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
