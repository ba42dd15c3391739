#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSysInfo>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <clocale>
#include <exception>
#include <new>
#include <stop_token>
#include <thread>
#include <vector>

#include "app/BackgroundJob.h"
#include "app/ControlIds.h"
#include "app/FormatOptionsDialog.h"
#include "app/ListingPane.h"
#include "app/ReportView.h"
#include "app/SaveFileChooser.h"
#include "browser/FolderTree.h"
#include "listing/AllocationFailurePoint.h"
#include "platform/FailureCause.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/ProcessRunner.h"

namespace tarvel {

namespace {

// A report as the pane shows it: its CRs gone.
std::string withoutCr(std::string_view report) {
  std::string text(report);
  std::erase(text, '\r');
  return text;
}

TEST_F(WindowTest, AFreshStartShowsTheStartValues) {
  const std::pair<int, bool> boxes[] = {{kIncludeSubfolders, true}, {kNoFiles, false},
                                        {kNoFolders, false},        {kExtractTree, false},
                                        {kExtensionCheck, false},   {kAutoUpdateSize, false}};
  for (const auto& [id, checked] : boxes)
    EXPECT_EQ(qobject_cast<QAbstractButton*>(control(id))->isChecked(), checked) << id;
  EXPECT_FALSE(control(kExtensionEdit)->isEnabled());
  EXPECT_FALSE(window->progressBar()->isTextVisible());
  // No label guesses rich text: a name may hold "<".
  for (const QLabel* label : window->findChildren<QLabel*>())
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
  EXPECT_EQ(window->findChild<QLabel*>("1011")->buddy(), control(kPane));  // read with the pane
}

TEST_F(WindowTest, ThePaneIsFixedPitchWithBothScrollBars) {
  const ReportView* view = window->pane()->view();
  EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
  EXPECT_EQ(view->font().pixelSize(), 16);
  // Both scroll bars show always: the pane does not jump when a long line comes or goes.
  EXPECT_TRUE(view->horizontalScrollBar()->isVisible() && view->verticalScrollBar()->isVisible());
  EXPECT_TRUE(view->testAttribute(Qt::WA_InputMethodEnabled));  // a composed accent is an edit
  QTest::keyClick(window->pane()->view(), Qt::Key_X);  // an edit: the editor, its bars alike
  const QPlainTextEdit* editor = window->pane()->editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->font().pixelSize(), 16);
  EXPECT_TRUE(editor->horizontalScrollBar()->isVisible() &&
              editor->verticalScrollBar()->isVisible());
}

TEST_F(WindowTest, TheWindowNamesTheInstalledDesktopEntryAndIcon) {
  EXPECT_EQ(window->windowIcon().availableSizes().size(), 4);  // the program's, at every size
  // The desktop finds the program's entry, its name and icon, by the name the windows give.
  EXPECT_TRUE(
      QFile::exists(TARVEL_RESOURCES "/" + QGuiApplication::desktopFileName() + ".desktop"));
}

TEST_F(WindowTest, FrenchDatesAndSizesLeaveTheUserLocale) {
  EXPECT_TRUE(!qEnvironmentVariableIsSet("LC_TIME") && !qEnvironmentVariableIsSet("LC_NUMERIC") &&
              !qEnvironmentVariableIsSet("LC_MESSAGES") && qgetenv("LC_ALL") == "C.UTF-8" &&
              std::string(std::setlocale(LC_ALL, nullptr)) == "C.UTF-8");
}

// The home folder is selected and open, near the top with its first items in view; a long
// name is not cut: the tree scrolls sideways to its end.
TEST_F(WindowTest, TheTreeOpensOnHomeAndShowsLongNamesWhole) {
  FolderTree* folders = window->tree();
  const QTreeWidgetItem* home = folders->currentItem();
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(folders->getItemPath(home), tree.path("home/user"));
  EXPECT_TRUE(home->isExpanded() && folders->header()->isHidden());  // names, not a table
  const QRect homeRow = folders->visualItemRect(home);
  EXPECT_LE(homeRow.top(), homeRow.height());
  EXPECT_LE(folders->visualItemRect(home->child(1)).bottom(), folders->viewport()->height());
  const QTreeWidgetItem* longName = home->child(0);
  const int nameWidth = folders->fontMetrics().horizontalAdvance(longName->text(0));
  EXPECT_GT(folders->visualItemRect(longName).width(), nameWidth);
  EXPECT_GE(folders->horizontalScrollBar()->maximum() + folders->viewport()->width(),
            folders->header()->sectionSize(0));
}

TEST_F(WindowTest, TabLeavesThePaneAndReturnMakesANewLine) {
  ListingPane* pane = window->pane();
  for (const bool edited : {false, true}) {
    pane->setFocus();
    if (edited) QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), control(kQuit));  // the pane is last: Tab wraps round
  }
  EXPECT_EQ(paneText(pane), "\n");
  QTest::keyClick(control(kQuit), Qt::Key_Return);  // on a button: the default, Extraction
  EXPECT_TRUE(window->isListing());
  pane->setFocus();  // the view again: the edited text went with the new report
  EXPECT_EQ(window->focusWidget(), pane->view());
  EXPECT_FALSE(paneText(pane).contains('\t'));
}

TEST_F(WindowTest, WindowReportEqualsCommandLineReport) {
  select("Music");
  extract();
  EXPECT_EQ(window->reportBuffer(), cli({}));
  EXPECT_EQ(paneText(window->pane()).toStdString(), withoutCr(window->reportBuffer()));

  // Main-window options, and formatting options set in their dialog.
  click(control(kNoFiles));
  click(control(kExtensionCheck));
  QTest::keyClicks(control(kExtensionEdit), "*.mp3");
  whenModalShows([](QWidget* dialog) {
    auto* options = qobject_cast<FormatOptionsDialog*>(dialog);
    click(options->control(kAbsolutePath));
    click(options->control(kFileSize));
    click(options->control(kFooter));
    qobject_cast<QLineEdit*>(options->control(kSeparatorEdit))->setText("\t=");
    click(options->control(kOk));
  });
  click(control(kFormatOptions));
  extract();
  EXPECT_EQ(window->reportBuffer(), cli({"--no-files", "--extensions=*.mp3", "--path=absolute",
                                         "--sizes", "--footer", "--separator=\t="}));
  EXPECT_TRUE(paneText(window->pane()).contains("|\t="));  // the typed tab survives
  EXPECT_TRUE(control(kExtensionEdit)->isEnabled());  // after the walk, the filter is the user's
  click(control(kExtensionCheck));                    // off: the field too, and its text stays
  EXPECT_FALSE(control(kExtensionEdit)->isEnabled());
  EXPECT_EQ(window->options().extensionFilter, "*.mp3");

  // Neither files nor folders, nor a tree: an empty report, and the wait message goes too.
  whenModalShows([](QWidget* dialog) {
    auto* options = qobject_cast<FormatOptionsDialog*>(dialog);
    click(options->control(kTreeStyle));
    click(options->control(kFooter));
    click(options->control(kOk));
  });
  click(control(kFormatOptions));
  click(control(kNoFolders));
  extract();
  EXPECT_TRUE(window->reportBuffer().empty());
  EXPECT_TRUE(paneText(window->pane()).isEmpty());
}

// Memory running out on the listing's thread: the stop box says so, nothing of the listing
// is kept for a save, and the window lists again as before.
TEST_F(WindowTest, AListingOutOfMemoryShowsTheStopBoxAndTheNextOneWorks) {
  select("Music");
  const auto seen = answerMessageBoxes();
  AllocationFailurePoint::arm(5);  // on every thread but this one
  extract();
  EXPECT_LT(AllocationFailurePoint::disarm(), 0);
  EXPECT_EQ(seen->text, "La liste n'a pas pu être faite : mémoire insuffisante.");
  EXPECT_EQ(seen->icon, QMessageBox::Critical);
  EXPECT_TRUE(seen->windowModal);
  EXPECT_TRUE(window->reportBuffer().empty());
  EXPECT_TRUE(paneText(window->pane()).isEmpty());
  EXPECT_TRUE(control(kExtraction)->isEnabled());
  extract();
  EXPECT_EQ(window->reportBuffer(), cli({}));
  EXPECT_EQ(seen->count, 1);
}

// Qt carries no exception through its event loop: what a handler throws is told, and the
// window goes on.
TEST_F(WindowTest, WhatAHandlerThrowsIsToldAndTheWindowGoesOn) {
  struct Throwing final : QObject {
    bool event(QEvent*) override { throw std::bad_alloc(); }
  } throwing;
  const auto seen = answerMessageBoxes();
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&throwing, &event));
  EXPECT_EQ(seen->text, "L'opération n'a pas pu aboutir : mémoire insuffisante.");
  select("Music");
  extract();
  EXPECT_EQ(window->reportBuffer(), cli({}));
}

// Work never holds the window's thread, even work that never looks at its stop request: newer
// work replaces it and only the newest completes, with what it threw. Neither the job nor its
// receiver needs to outlive the other or the work.
TEST(BackgroundJobTest, NewerWorkNeverWaitsAndOnlyTheNewestCompletes) {
  std::atomic<bool> release = false;
  std::atomic<int> blockedRunning = 0;
  std::atomic<int> stopsAsked = 0;
  // Deaf to its stop request, for ten seconds at most; counts the request all the same.
  const auto blocked = [&release, &blockedRunning, &stopsAsked](std::stop_token stop) {
    ++blockedRunning;
    for (int ms = 0; ms < 10000 && !release; ++ms)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stopsAsked += stop.stop_requested() ? 1 : 0;
    --blockedRunning;
  };
  std::vector<std::string> done;
  const auto note = [&done](std::string name) {
    return [&done, name](const std::exception_ptr& failure) {
      done.push_back(failure ? name + " " + failureCause(failure) : name);
    };
  };
  auto receiver = std::make_unique<QObject>();
  {
    BackgroundJob job(receiver.get());
    job.start(blocked, note("blocked"));
    ASSERT_TRUE(QTest::qWaitFor([&blockedRunning] { return blockedRunning == 1; }));
    job.start([](std::stop_token) {}, note("newer"));
    EXPECT_EQ(blockedRunning, 1) << "the window's thread waited for it";
    ASSERT_TRUE(QTest::qWaitFor([&job] { return !job.running(); }));
    job.start([](std::stop_token) { throw std::bad_alloc(); }, note("failed:"));
    ASSERT_TRUE(QTest::qWaitFor([&job] { return !job.running(); }));
    job.start(blocked, note("after its job"));
  }
  {
    BackgroundJob job(receiver.get());
    job.start(blocked, note("after its receiver"));
    receiver.reset();
  }
  release = true;
  ASSERT_TRUE(BackgroundJob::waitForAllWork(std::chrono::seconds(10)));
  QCoreApplication::processEvents();
  EXPECT_EQ(done, (std::vector<std::string>{"newer", "failed: mémoire insuffisante"}));
  EXPECT_EQ(stopsAsked, 3);  // by newer work, and by the job's end twice
}

// Work that ends after newer work started never passes for the newer work's end.
TEST(BackgroundJobTest, OlderWorkEndingLateIsNotTheNewerWorksEnd) {
  std::atomic<int> released = 0;  // the works started so far may end, in order, up to this one
  const auto until = [&released](int work) {
    return [&released, work](std::stop_token) {
      while (released < work) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
  };
  std::vector<int> done;
  QObject receiver;
  BackgroundJob job(&receiver);
  for (int work : {1, 2}) job.start(until(work), [&done, work](auto&) { done.push_back(work); });
  released = 1;
  QTest::qWait(100);
  EXPECT_TRUE(done.empty() && job.running());
  released = 2;
  ASSERT_TRUE(QTest::qWaitFor([&job] { return !job.running(); }));
  EXPECT_EQ(done, std::vector<int>{2});
}

// The tree's own listing: what it shows, without sizes, which it says once each run.
TEST_F(WindowTest, TheTreeBoxListsWhatTheTreeShowsAndWarnsOfSizes) {
  select("Music");
  click(control(kExtractTree));
  whenModalShows([](QWidget* dialog) {
    click(qobject_cast<FormatOptionsDialog*>(dialog)->control(kFileSize));
    click(qobject_cast<FormatOptionsDialog*>(dialog)->control(kOk));
  });
  click(control(kFormatOptions));
  const auto seen = answerMessageBoxes();
  for (int run = 1; run <= 2; ++run) {
    click(control(kExtraction));
    EXPECT_EQ(seen->count, run);
  }
  EXPECT_TRUE(seen->text.startsWith("Attention ! La taille des fichiers n'est pas calculée"));
  EXPECT_TRUE(seen->windowModal && seen->plainText);
  EXPECT_EQ(window->reportBuffer(), cli({"--no-subfolders"}));  // Artist is closed in the tree
  EXPECT_EQ(window->reportBuffer().find("Octets"), std::string::npos);
}

TEST_F(WindowTest, AWalkRefusesInputThatWouldChangeItsListing) {
  select("Music");
  window->control(kExtraction)->setFocus();
  click(control(kExtraction));
  ASSERT_TRUE(window->isListing());
  EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor);
  EXPECT_EQ(paneText(window->pane()),
            "Recherche des fichiers en cours ...\nVeuillez patienter ...\n");
  QTest::keyClicks(window->pane()->view(), "x");  // the pane takes no edit meanwhile
  EXPECT_EQ(window->pane()->editor(), nullptr);
  EXPECT_FALSE(window->pane()->view()->testAttribute(Qt::WA_InputMethodEnabled));
  for (const int id : {kTree, kExtraction, kIncludeSubfolders, kNoFiles, kNoFolders, kExtractTree,
                       kFormatOptions, kSaveAs, kExtensionCheck, kExtensionEdit})
    EXPECT_FALSE(control(id)->isEnabled()) << id;
  for (const int id : {kQuit, kHelp, kAbout, kCopy, kUpdateSize})
    EXPECT_TRUE(control(id)->isEnabled()) << id;
  click(control(kNoFiles));  // dropped, not kept for later
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isListing(); }));
  EXPECT_FALSE(qobject_cast<QAbstractButton*>(control(kNoFiles))->isChecked());
  EXPECT_TRUE(window->pane()->view()->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_EQ(window->reportBuffer(), cli({}));
  EXPECT_TRUE(control(kNoFiles)->isEnabled());
  EXPECT_FALSE(control(kExtensionEdit)->isEnabled());
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(window->focusWidget(), control(kExtraction));
  EXPECT_EQ(window->progressBar()->value(), window->progressBar()->maximum());
  for (const QTimer* timer : window->findChildren<QTimer*>()) EXPECT_FALSE(timer->isActive());
  window->tree()->setCurrentItem(nullptr);  // nothing selected: nothing to list
  click(control(kExtraction));
  EXPECT_FALSE(window->isListing());
}

// "&Quitter" while a long report goes into the pane closes the window at once; the report goes
// on coming, whole.
TEST_F(WindowTest, QuitWhileTheReportComesClosesTheWindowAndKeepsTheReport) {
  TestTree memory("/dev/shm");
  for (int file = 0; file < 6000; ++file)
    memory.createFile("wide/d/" + std::to_string(file) + std::string(200, 'n'));
  ASSERT_TRUE(window->tree()->selectPath(memory.path("wide")));
  click(control(kExtraction));
  ASSERT_TRUE(window->isListing() && window->pane()->isReadOnly());
  click(control(kQuit));
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isListing(); }));
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->reportBuffer(), runCli({memory.path("wide")}).out);
  EXPECT_FALSE(window->pane()->isReadOnly());
}

TEST_F(WindowTest, TheFolderSizeLineIsRightAndOneClickCountsOnce) {
  select("Music");
  click(control(kUpdateSize));
  EXPECT_EQ(sizeShown(), "Taille du dossier:  12  Octets");
  click(control(kIncludeSubfolders));
  click(control(kUpdateSize));
  EXPECT_EQ(sizeShown(), "Taille du dossier:  7  Octets");

  // Without automatic update a new selection keeps the line; with it, every change and every
  // click counts, and a click that selects an item counts once.
  FolderTree* folders = window->tree();
  QTreeWidgetItem* music = folders->currentItem();
  QTreeWidgetItem* artist = folders->findChildByText(music, "Artist");
  folders->setCurrentItem(artist);
  EXPECT_FALSE(window->isSizing());
  click(control(kAutoUpdateSize));
  QCoreApplication::processEvents();
  QTest::mouseClick(folders->viewport(), Qt::LeftButton, {},
                    folders->visualItemRect(artist).center());
  EXPECT_EQ(sizeShown(), "Taille du dossier:  4  Octets");
  QTreeWidgetItem* listFile = folders->findChildByText(music, "list.TXT");
  folders->scrollToItem(listFile);
  const QPoint list = folders->visualItemRect(listFile).center();
  QTest::mousePress(folders->viewport(), Qt::LeftButton, {}, list);
  EXPECT_TRUE(window->isSizing());
  sizeShown();
  QTest::mouseRelease(folders->viewport(), Qt::LeftButton, {}, list);
  EXPECT_FALSE(window->isSizing());
  EXPECT_EQ(sizeShown(), "Taille du dossier:  7  Octets");
}

TEST_F(WindowTest, ANewerSelectionStopsTheFolderSizeInProgress) {
  TestTree memory("/dev/shm");
  memory.createNestedDirs("deep", "d", 1000);
  memory.createFile("small/three", "abc");
  std::string deepest = memory.path("deep");
  for (int level = 0; level < 1000; ++level) deepest += "/d";
  const FolderOpenWatch deepestFolder(deepest);
  FolderTree* folders = window->tree();
  ASSERT_TRUE(folders->selectPath(memory.path("small")));
  QTreeWidgetItem* small = folders->currentItem();
  click(control(kAutoUpdateSize));
  folders->setCurrentItem(folders->findChildByText(small->parent(), "deep"));
  ASSERT_TRUE(window->isSizing());
  EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor);
  folders->setCurrentItem(small);
  EXPECT_EQ(sizeShown(), "Taille du dossier:  3  Octets");
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(deepestFolder.opened());
}

// Answers the save-as question with a preset path.
struct ScriptedSaveChooser final : SaveFileChooser {
  std::optional<QString> chooseSaveFile(QWidget*, const QString& folder) override {
    folders << folder;
    return answer;
  }
  QStringList folders;
  std::optional<QString> answer;
};

TEST_F(WindowTest, CopyTakesThePaneAndSaveTheReportBytes) {
  ScriptedSaveChooser saveChooser;
  window->setSaveFileChooser(&saveChooser);
  select("Music");
  extract();
  ListingPane* pane = window->pane();
  pane->view()->verticalScrollBar()->setValue(pane->view()->verticalScrollBar()->maximum());
  QTest::keyClicks(pane->view(), "typed");  // the user's edits go with the copy, not with a save
  click(control(kCopy));
  const QString copied = QApplication::clipboard()->text();
  EXPECT_EQ(copied.toUtf8(), paneText(pane));
  EXPECT_TRUE(copied.contains("typed"));
  EXPECT_TRUE(pane->editor()->textCursor().atEnd() && !pane->editor()->textCursor().hasSelection());
  EXPECT_EQ(pane->editor()->verticalScrollBar()->value(), 0);

  tree.createFile("old.txt", std::string(100000, 'x'));
  saveChooser.answer = QString::fromStdString(tree.path("old.txt"));
  click(control(kSaveAs));
  EXPECT_EQ(saveChooser.folders, QStringList({""}));  // the first save opens in the working folder
  const std::string saved = tree.readFile("old.txt");
  EXPECT_EQ(saved, window->reportBuffer());
  EXPECT_NE(saved.find("\xC3\x89t\xC3\xA9.txt\r\n"), std::string::npos);  // "Été.txt"

  tree.createFile("readonly.txt", "keep");
  tree.setMode("readonly.txt", 0444);
  const auto seen = answerMessageBoxes();
  saveChooser.answer = QString::fromStdString(tree.path("readonly.txt"));
  click(control(kSaveAs));
  EXPECT_EQ(seen->count, 1);
  EXPECT_TRUE(seen->icon == QMessageBox::Critical && seen->windowModal && seen->plainText);
  EXPECT_EQ(seen->text.toStdString(), "L'accès à " + tree.path("readonly.txt") + " a été refusé.");
  EXPECT_EQ(tree.readFile("readonly.txt"), "keep");
  EXPECT_EQ(saveChooser.folders.back().toStdString(), tree.path(""));  // the last folder saved to

  // Every character as the pane shows it, only line ends changed, in plain text alone.
  const std::pair<std::string, std::string> copies[] = {
      {"\uFEFFbom\r\n |-n\u00B0\u00A012\r\n", "\uFEFFbom\n |-n\u00B0\u00A012\n"},
      {"\u2007\u202F\t\u00AB\u00A0x\u00A0\u00BB", "\u2007\u202F\t\u00AB\u00A0x\u00A0\u00BB"},
      {"bad \xFF\xC3 byte\r\n\r\n", "bad \uFFFD\uFFFD byte\n\n"},
  };
  for (const auto& [report, clipboard] : copies) {
    pane->showText(report);
    click(control(kCopy));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    EXPECT_EQ(data->formats(), QStringList("text/plain"));
    EXPECT_EQ(data->data("text/plain").toStdString(), clipboard);
  }
  QTest::keyClick(pane->view(), Qt::Key_Return);  // a line the user adds, at the end
  QTest::keyClicks(pane->editor(), "\u00A0");
  click(control(kCopy));
  EXPECT_EQ(QApplication::clipboard()->mimeData()->data("text/plain").toStdString(),
            "bad \uFFFD\uFFFD byte\n\n\n\u00A0");
  QTest::keyClick(pane->editor(), Qt::Key_A, Qt::ControlModifier);  // its own copy, the same way
  QTest::keyClick(pane->editor(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->mimeData()->formats(), QStringList("text/plain"));
  EXPECT_EQ(QApplication::clipboard()->mimeData()->data("text/plain").toStdString(),
            "bad \uFFFD\uFFFD byte\n\n\n\u00A0");
}

// Keys and the mouse select as in a read-only text view, and the selection is copied as shown;
// the first edit makes the pane an editor with the same text, caret, selection and scroll.
TEST_F(WindowTest, SelectionCopiesTheShownTextAndTheFirstEditMakesTheEditorThere) {
  ListingPane* pane = window->pane();
  ReportView* view = pane->view();
  QWidget* viewport = view->viewport();
  const std::string report = "abc \xC3\xA9t\xC3\xA9\r\nbad \xFF end\r\npl\rain\r\n";
  // Keys pressed in turn, as in "Down, Shift+End".
  const auto press = [view](const QString& keys) {
    for (const QString& one : keys.split(", ")) QTest::keySequence(view, QKeySequence(one));
  };
  const QFontMetricsF metrics(view->font());
  const auto at = [&metrics](double line, double column) {  // the text starts 4 pixels in
    return QPointF(4 + (column + 0.2) * metrics.horizontalAdvance('x'),
                   4 + (line + 0.5) * metrics.lineSpacing())
        .toPoint();
  };
  const std::pair<std::function<void()>, std::string> selections[] = {
      {[&] { press("Shift+End"); }, "abc \u00E9t\u00E9"},
      {[&] { press("Right, Right, Right, Right, Shift+Right, Shift+Right"); }, "\u00E9t"},
      {[&] { press("Down, Shift+Down, Shift+End"); }, "bad \uFFFD end\nplain"},
      {[&] { press("Ctrl+End, Shift+Left, Shift+Left, Shift+Up"); }, "\uFFFD end\nplain\n"},
      {[&] { press("Ctrl+A"); }, "abc \u00E9t\u00E9\nbad \uFFFD end\nplain\n"},
      {[&] { press("End, Shift+Right, Shift+Right"); }, "\nb"},
      {[&] { press("Down, Shift+Left"); }, "\n"},
      {[&] { press("Ctrl+Shift+Right"); }, "abc "},
      {[&] { press("Down, Ctrl+Shift+Left, Ctrl+Shift+Left"); }, "\u00E9t\u00E9\n"},
      {[&] { press("Right, Right, Shift+PgDown"); }, "c \u00E9t\u00E9\nbad \uFFFD end\nplain\n"},
      {[&] { press("Down, Down, Shift+PgUp"); }, "abc \u00E9t\u00E9\nbad \uFFFD end\n"},
      // No further than the last line, and back up.
      {[&] { press("Down, Down, Down, Down, Down, Shift+Up"); }, "plain\n"},
      {[&] { press("End, Shift+Home"); }, "abc \u00E9t\u00E9"},
      {[&] { press("Down, Right, Right, Ctrl+Shift+Home"); }, "abc \u00E9t\u00E9\nba"},
      {[&] { press("Shift+Up"); }, ""},
      {[&] {
         QTest::mousePress(viewport, Qt::LeftButton, {}, at(0, 4));
         QMouseEvent drag(QEvent::MouseMove, at(2, 2), viewport->mapToGlobal(at(2, 2)),
                          Qt::NoButton, Qt::LeftButton, {});
         QApplication::sendEvent(viewport, &drag);
         QTest::mouseRelease(viewport, Qt::LeftButton, {}, at(2, 2));
       },
       "\u00E9t\u00E9\nbad \uFFFD end\npl"},
      {[&] {
         QTest::mouseClick(viewport, Qt::LeftButton, {}, at(1, 0));
         QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, at(2, 2));
       },
       "bad \uFFFD end\npl"},
      {[&] { QTest::mouseDClick(viewport, Qt::LeftButton, {}, at(1, 1)); }, "bad"},
      {[&] { QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, at(9, 1)); },
       "abc \u00E9t\u00E9\nbad \uFFFD end\nplain\n"},
  };
  for (const auto& [select, copied] : selections) {
    pane->showText(report);
    QApplication::clipboard()->setText({});
    select();
    press("Ctrl+C");
    EXPECT_EQ(QApplication::clipboard()->mimeData()->data("text/plain").toStdString(), copied);
  }
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);  // the pane's, not the window's
  QApplication::sendEvent(view, &down);
  EXPECT_TRUE(down.isAccepted());
  // What the view's own repaints left on screen (a grab would draw it afresh).
  const auto onScreen = [&] {
    QApplication::processEvents();
    const QPoint origin = viewport->mapTo(window.get(), QPoint());
    return window->screen()
        ->grabWindow(window->winId(), origin.x(), origin.y(), viewport->width(), viewport->height())
        .toImage();
  };
  // What is selected shows as selected, and nothing else.
  QImage shown;
  for (const auto& [from, to] :
       {std::pair<TextPosition, TextPosition>{{0, 2}, {2, 1}}, {{1, 1}, {1, 3}}}) {
    pane->showText(report);
    QApplication::processEvents();  // drawn: the selection must have the view drawn again
    view->select(from, to);
    shown = onScreen();
    for (int line = 0; line < 3; ++line) {
      for (int column = 0; column < 4; ++column) {
        int highlighted = 0;  // anywhere in the character's box
        for (int x = at(line, column).x(); x < at(line, column + 0.6).x(); ++x) {
          for (int y = at(line - 0.4, 0).y(); y < at(line + 0.4, 0).y(); ++y)
            highlighted += shown.pixelColor(x, y) == view->palette().color(QPalette::Highlight);
        }
        const TextPosition cell{static_cast<std::size_t>(line), column};
        EXPECT_EQ(highlighted > 0, !(cell < from) && cell < to) << line << " " << column;
      }
    }
  }
  EXPECT_EQ(shown.pixelColor(shown.width() - 2, at(0, 0).y()),
            view->palette().color(QPalette::Base));
  pane->append("+++\r\n");  // a piece of the report shows as it comes
  EXPECT_NE(onScreen(), shown);
  shown = onScreen();
  press("Shift+Right");  // and so does a selection made by the keys
  EXPECT_NE(onScreen(), shown);
  // The caret shows where it is, and nowhere else, while the view has the keyboard.
  pane->showText("ab  \r\nab  \r\n");
  view->setFocus();
  view->select({0, 3}, {0, 3});
  shown = onScreen();
  for (int line = 0; line < 2; ++line) {
    int inked = 0;
    for (int x = at(line, 2.7).x(); x <= at(line, 2.9).x(); ++x) {
      for (int y = at(line - 0.4, 0).y(); y < at(line + 0.4, 0).y(); ++y)
        inked += shown.pixelColor(x, y) != view->palette().color(QPalette::Base);
    }
    EXPECT_EQ(inked > 0, line == 0) << line;
  }
  EXPECT_EQ(pane->editor(), nullptr);
  pane->showText(report);
  press("Down, Shift+Right, Shift+Right, Shift+Right, Shift+Right");
  QTest::keyClicks(view, "XY");  // in place of what is selected
  ASSERT_NE(pane->editor(), nullptr);
  EXPECT_EQ(pane->editor()->tabStopDistance(), view->tabStopDistance());  // tabs stay put
  EXPECT_EQ(paneText(pane), "abc \u00E9t\u00E9\nXY\uFFFD end\nplain\n");
  EXPECT_EQ(pane->report(), report);  // what a save writes

  // A report of many pieces, a line longer than a piece among them: the editor has it whole,
  // in paragraphs of 32 lines, and no undo history of it.
  std::string many;
  int lines = 0;
  for (; many.size() < 2'200'000; ++lines) many += " |-été " + std::to_string(lines) + "\r\n";
  for (int i = 0; i < 400'000; ++i) many += "\u20AC";
  many += "\r\n";
  ++lines;
  pane->showText(std::string_view(many).substr(0, 1'000'001));  // two pieces, cut in a line
  pane->append(std::string_view(many).substr(1'000'001));
  EXPECT_EQ(paneText(pane).toStdString(), withoutCr(many));
  press("Ctrl+End, Up, End");  // the end of the longest line: in view, far to the right
  EXPECT_EQ(view->firstLine() + view->verticalScrollBar()->pageStep(), lines + 1);
  const double endX = 400'000 * QFontMetricsF(view->font()).horizontalAdvance(QChar(0x20AC));
  EXPECT_NEAR(view->horizontalScrollBar()->value() + view->viewport()->width(), endX, endX / 100);
  press("Ctrl+Home");
  EXPECT_EQ(view->firstLine() + view->horizontalScrollBar()->value(), 0);
  const int rows = view->verticalScrollBar()->pageStep();
  QFont larger = view->font();  // taller lines: fewer in a page
  larger.setPixelSize(32);
  view->setFont(larger);
  EXPECT_LT(view->verticalScrollBar()->pageStep(), rows * 2 / 3);
  view->setFont(pane->font());
  view->select({100000, 3}, {100000, 3});
  const int top = view->verticalScrollBar()->value();
  EXPECT_LT(100000 - top, view->verticalScrollBar()->pageStep());
  view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(view->horizontalScrollBar()->value(), viewport->width());  // a page: the pane's width
  shown = onScreen();
  view->horizontalScrollBar()->setValue(20);  // the caret still in view
  EXPECT_NE(onScreen(), shown);
  QTest::keyClicks(view, "Z");
  EXPECT_EQ(pane->editor()->horizontalScrollBar()->value(), 20);
  std::string edited = withoutCr(many);
  edited.insert(edited.find(" |-été 100000\n") + 3, "Z");
  EXPECT_EQ(paneText(pane).toStdString(), edited);
  QTextCursor shownFirst = pane->editor()->cursorForPosition({9, 9});
  shownFirst.select(QTextCursor::LineUnderCursor);
  EXPECT_EQ(shownFirst.selectedText().toStdString(), " |-été " + std::to_string(top));
  EXPECT_EQ(pane->editor()->document()->blockCount(), lines / 32 + 1);
  pane->editor()->undo();
  EXPECT_FALSE(pane->editor()->document()->isUndoAvailable());
  EXPECT_EQ(paneText(pane).toStdString(), withoutCr(many));
}

// Lines that a fallback font draws (CJK, emoji) stand at the same pitch as the others, in the
// view and in the editor, so that the bars of a drawn tree join from line to line; the text
// stays as it was.
TEST_F(WindowTest, EveryLineOfThePaneHasTheSameHeight) {
  const char* const kinds[] = {"- |  |-Latin.txt", "- |  |-日本語の文書.txt", "- |  |-한글 数据",
                               "- |  |-😀 émoji", "- │  ├─ boîte ─┤"};
  std::string report;
  for (int line = 0; line < 10; ++line) report += kinds[line % 5] + std::string("\r\n");
  ListingPane* pane = window->pane();
  // Where the dash that opens each line is drawn: the first row of each of its marks.
  const auto dashTops = [pane](QWidget* viewport) {
    const QImage image = viewport->grab().toImage();
    const int advance = QFontMetrics(pane->font()).horizontalAdvance('-');
    std::vector<int> tops;
    bool inked = false;
    for (int y = 0; y < image.height(); ++y) {
      bool ink = false;
      for (int x = 4; x < 4 + advance; ++x) ink = ink || qGray(image.pixel(x, y)) < 128;
      if (ink && !inked) tops.push_back(y);
      inked = ink;
    }
    return tops;
  };
  // The pane's font, then one that leaves room between its lines, as a desktop without the
  // pane's font may give: the editor keeps the view's pitch.
  QFont spaced(QStringLiteral("Liberation Sans"));
  spaced.setPixelSize(30);
  for (const QFont& font : {pane->font(), spaced}) {
    pane->setFont(font);
    pane->showText(report);
    EXPECT_EQ(paneText(pane).toStdString(), withoutCr(report));
    const std::vector<int> viewTops = dashTops(pane->view()->viewport());
    QTest::keyClick(pane->view(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(pane->view(), Qt::Key_Minus);  // the editor, with one line more
    ASSERT_NE(pane->editor(), nullptr);
    EXPECT_EQ(paneText(pane).toStdString(), withoutCr(report) + "-");
    std::vector<double> pitches;
    for (const std::vector<int>& tops : {viewTops, dashTops(pane->editor()->viewport())}) {
      ASSERT_GE(tops.size(), 5u);
      pitches.push_back(double(tops.back() - tops.front()) / double(tops.size() - 1));
      for (std::size_t line = 1; line < tops.size(); ++line)
        EXPECT_NEAR(tops[line] - tops[line - 1], pitches.back(), 1.0) << kinds[line % 5];
    }
    EXPECT_DOUBLE_EQ(pitches[0], pitches[1]);
  }
}

// Every text the user reads is French, whatever the language the program is started in.
TEST_F(WindowTest, TheSaveDialogSpeaksFrenchRemembersItsFolderAndGivesTheKeyboardBack) {
  const std::string folder = tree.path("home/user");
  tree.createFile("home/user/four", "abcd");
  tree.createFile("home/user/five", std::string(5000, 'x'));
  select("Music");
  extract();
  window->tree()->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  whenModalShows([&folder](QWidget* shown) {
    auto* dialog = qobject_cast<QFileDialog*>(shown);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);  // the help stays usable beside it
    EXPECT_EQ(dialog->findChild<QComboBox*>("fileTypeCombo")->currentText(),
              "Fichiers Textes (*.txt,*.log,*.wri)");  // shown as written, patterns hidden
    EXPECT_EQ(dialog->findChild<QLabel*>("fileNameLabel")->text(), "&Nom de fichier :");
    const auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
    EXPECT_EQ(buttons->button(QDialogButtonBox::Save)->text() + " " +
                  buttons->button(QDialogButtonBox::Cancel)->text(),
              "&Enregistrer Annuler");
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(QString::fromStdString(folder))), "Dossier");
    EXPECT_EQ(QLocale::system().monthName(12, QLocale::ShortFormat), "déc.");  // file dates
    EXPECT_EQ(dialog->locale().name(), "fr_FR");  // and the numbers of Qt's own widgets
    dialog->setDirectory(QString::fromStdString(folder));
    const auto* files = dialog->findChild<QFileSystemModel*>();
    const auto sizeOf = [&](const char* name) {
      return files->index(QString::fromStdString(folder + "/" + name), 1).data().toString();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return !sizeOf("five").isEmpty(); }));
    EXPECT_EQ(sizeOf("four") + " " + sizeOf("five"), "4 octets 4,88 Kio");
    // Typed without extension: ".txt" is added before the dialog looks for the file, so
    // replacing "notes.txt" is asked about, in French.
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("notes");
    const auto question = answerMessageBoxes();  // answered with its first button, "&Oui"
    QMetaObject::invokeMethod(dialog, "accept");
    EXPECT_EQ(question->text, "Le fichier notes.txt existe déjà\nVoulez-vous l'écraser ?");
  });
  window->onSaveAs();
  EXPECT_EQ(tree.readFile("home/user/notes.txt"), window->reportBuffer());
  // Whatever the answer, the window has the keyboard back, where it was.
  EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(QApplication::focusWidget(), window->tree());
  // The next save opens where this one went, "Dirs.txt" proposed; cancelled, it saves nothing.
  whenModalShows([&folder](QWidget* shown) {
    auto* dialog = qobject_cast<QFileDialog*>(shown);
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), folder);
    EXPECT_EQ(dialog->findChild<QLineEdit*>("fileNameEdit")->text(), "Dirs.txt");
    QMetaObject::invokeMethod(dialog, "reject");
  });
  const auto seen = answerMessageBoxes();
  window->onSaveAs();
  EXPECT_EQ(seen->count, 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/Dirs.txt")));
  EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(QApplication::focusWidget(), window->tree());

  // The pane's menu: "Tout sélectionner", then "Copier", copy what it shows; nothing to paste.
  QApplication::clipboard()->clear();
  QStringList entries;
  for (const QString chosen : {"Tout sélectionner", "Cop&ier"}) {
    QTimer::singleShot(0, [&entries, chosen] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      entries.clear();
      for (QAction* action : menu->actions()) {
        entries << action->text().section('\t', 0, 0) + (action->isEnabled() ? "" : " (off)");
        if (entries.back() == chosen) menu->setActiveAction(action);
      }
      QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, {9, 9},
                            window->pane()->mapToGlobal(QPoint(9, 9)));
    QApplication::sendEvent(window->pane()->view()->viewport(), &event);
  }
  EXPECT_EQ(entries, QStringList({"Cop&ier", "Co&ller (off)", "", "Tout sélectionner"}));
  EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), paneText(window->pane()));
}

// What a file manager drops on the tree or on the pane: one local folder or file is selected as
// if opened by hand (a drop is taken as a copy, never as a move, after which the file manager
// would delete what it gave); several items, a remote one, a move, or any drop while a listing
// runs are refused from the start, so the cursor says so. No drop writes into the pane.
TEST_F(WindowTest, ADroppedFolderOrFileIsSelectedAndOthersAreRefused) {
  tree.createFile("Music/bad\xff.txt");
  const auto url = [this](const char* host, const std::string& relative) {
    return QUrl::fromEncoded(QByteArray("file://") + host +
                             QByteArray::fromStdString(tree.path(relative)).toPercentEncoding("/"));
  };
  // Whether `viewport` takes a drag of `urls` (with text beside them) from its entry to its drop.
  const auto takes = [](QWidget* viewport, const QList<QUrl>& urls, Qt::DropActions actions) {
    QMimeData data;
    data.setUrls(urls);
    data.setText(QStringLiteral("texte glissé"));
    // Shift held asks for a move, which a drop must never do.
    QDragEnterEvent enter({}, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    QDragMoveEvent move({}, actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    QDropEvent drop(QPointF(), actions, &data, Qt::LeftButton, Qt::ShiftModifier);
    for (QDropEvent* step : std::initializer_list<QDropEvent*>{&enter, &move, &drop}) {
      step->accept();  // as Qt hands on a move after an entry taken: a refusal must say so
      QApplication::sendEvent(viewport, step);
      if (!step->isAccepted() || step->dropAction() == Qt::MoveAction) return false;
    }
    return true;
  };
  const Qt::DropActions copyOrMove = Qt::CopyAction | Qt::MoveAction;
  struct Drop {
    QList<QUrl> urls;
    Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    std::string selected = "home/user";  // relative to the test tree
    bool taken = false;
    QString message = {};  // the box shown after the drop
  };
  const Drop drops[] = {
      {{url("", "Music/Artist")}, copyOrMove, "Music/Artist", true},
      {{url("localhost", "Music/list.TXT")}, Qt::LinkAction, "Music/list.TXT", true},
      {{url(QSysInfo::machineHostName().toUtf8().constData(), "Music")}, copyOrMove, "Music", true},
      {{url("", "Music/bad\xff.txt")}, copyOrMove, "Music/bad\xff.txt", true},
      {{url("", "Music/gone")},
       copyOrMove,
       "home/user",
       true,
       "Impossible de trouver « " + QString::fromStdString(tree.path("Music/gone")) + " »."},
      {{url("", "Music/Artist"), url("", "Music/list.TXT")}},
      {{QUrl("sftp://localhost" + QString::fromStdString(tree.path("Music")))}},
      {{url("elsewhere.example.org", "Music")}},
      {{QUrl(url("", "Music").toString() + "?x=1")}},
      {{url("", "Music")}, Qt::MoveAction},
  };
  const auto seen = answerMessageBoxes();
  for (QAbstractScrollArea* target : {static_cast<QAbstractScrollArea*>(window->tree()),
                                      static_cast<QAbstractScrollArea*>(window->pane()->view())}) {
    for (const Drop& drop : drops) {
      const std::string which = target->objectName().toStdString() + " " +
                                drop.urls.constFirst().toString().toStdString();
      select("home/user");
      *seen = {};
      EXPECT_EQ(takes(target->viewport(), drop.urls, drop.actions), drop.taken) << which;
      QCoreApplication::processEvents();  // the folders open once the drop is over
      EXPECT_EQ(window->tree()->getItemPath(window->tree()->currentItem()),
                tree.path(drop.selected))
          << which;
      EXPECT_EQ(seen->text, drop.message) << which;
      EXPECT_TRUE(paneText(window->pane()).isEmpty()) << which;
    }
  }

  // A folder dragged over the tree and never dropped opens nothing.
  QMimeData passing;
  passing.setUrls({url("", "Music/Artist")});
  QDragEnterEvent over({}, Qt::CopyAction, &passing, Qt::LeftButton, {});
  QApplication::sendEvent(window->tree()->viewport(), &over);
  QCoreApplication::processEvents();
  EXPECT_EQ(window->tree()->getItemPath(window->tree()->currentItem()), tree.path("home/user"));

  // Text alone is the pane's, as it always was; while a listing runs, a folder is refused.
  QMimeData text;
  text.setText(QStringLiteral("texte"));
  QDragEnterEvent enter({}, Qt::CopyAction, &text, Qt::LeftButton, {});
  QApplication::sendEvent(window->pane()->view()->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  const qreal afterA = 4 + QFontMetricsF(window->pane()->font()).horizontalAdvance('a');
  QDropEvent drop(QPointF(afterA, 9), Qt::CopyAction, &text, Qt::LeftButton, {});
  window->pane()->showText("abc");
  QApplication::sendEvent(window->pane()->view()->viewport(), &drop);
  EXPECT_EQ(paneText(window->pane()), "atextebc");  // an edit: the pane is an editor now
  EXPECT_EQ(window->pane()->editor()->textCursor().position(), 6);  // after what was dropped
  click(control(kExtraction));
  ASSERT_TRUE(window->isListing());
  EXPECT_FALSE(takes(window->pane()->view()->viewport(), {url("", "Music")}, Qt::CopyAction));
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isListing(); }));
}
}  // namespace

}  // namespace tarvel
