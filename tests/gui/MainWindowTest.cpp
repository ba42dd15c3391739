#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>

#include "app/ControlIds.h"
#include "app/FormatOptionsDialog.h"
#include "browser/FolderTree.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/ProcessRunner.h"

namespace tarvel {

namespace {

bool isChecked(QWidget* control) {
  return qobject_cast<QAbstractButton*>(control)->isChecked();
}

QString labelText(QWidget* control) {
  return qobject_cast<QLabel*>(control)->text();
}

TEST_F(WindowTest, AFreshStart) {
  EXPECT_EQ(window->windowTitle(), "Tarvelinquistombrel");
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  const std::pair<int, bool> boxes[] = {{kIncludeSubfolders, true}, {kNoFiles, false},
                                        {kNoFolders, false},        {kExtractTree, false},
                                        {kExtensionCheck, false},   {kAutoUpdateSize, false}};
  for (const auto& [id, checked] : boxes) EXPECT_EQ(isChecked(control(id)), checked) << id;
  EXPECT_FALSE(control(kExtensionEdit)->isEnabled());
  EXPECT_EQ(qobject_cast<QLineEdit*>(control(kExtensionEdit))->text(), "");
  EXPECT_EQ(labelText(control(kFolderSize)), "Taille du dossier:");
  EXPECT_TRUE(window->pane()->toPlainText().isEmpty());
  EXPECT_TRUE(QFontInfo(window->pane()->font()).fixedPitch());
  EXPECT_FALSE(window->progressBar()->isTextVisible());
  EXPECT_EQ(window->options(), ListingOptions{});
  // The home folder is selected and open, near the top with its first items in view; a long
  // name is not cut: the tree scrolls sideways to its end.
  FolderTree* folders = window->tree();
  const QTreeWidgetItem* home = folders->currentItem();
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(folders->getItemPath(home), tree.path("home/user"));
  EXPECT_TRUE(home->isExpanded());
  const QRect homeRow = folders->visualItemRect(home);
  EXPECT_LE(homeRow.top(), homeRow.height());
  EXPECT_LE(folders->visualItemRect(home->child(1)).bottom(), folders->viewport()->height());
  const QTreeWidgetItem* longName = home->child(0);
  ASSERT_EQ(longName->text(0).size(), 200);
  const int nameWidth = folders->fontMetrics().horizontalAdvance(longName->text(0));
  EXPECT_GT(folders->visualItemRect(longName).width(), nameWidth);
  EXPECT_GE(folders->horizontalScrollBar()->maximum() + folders->viewport()->width(),
            folders->header()->sectionSize(0));
}

TEST_F(WindowTest, TabLeavesThePaneAndReturnStaysInIt) {
  QPlainTextEdit* pane = window->pane();
  pane->setFocus();
  QTest::keyClick(pane, Qt::Key_Return);
  EXPECT_EQ(pane->blockCount(), 2);
  QTest::keyClick(pane, Qt::Key_Tab);
  EXPECT_EQ(window->focusWidget(), control(kQuit));  // the pane is last: Tab wraps round
  QTest::keyClick(control(kQuit), Qt::Key_Return);   // on a button: the default, Extraction
  EXPECT_TRUE(window->isListing());
  pane->setFocus();
  QTest::keyClick(pane, Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(window->focusWidget(), control(kAbout));
  EXPECT_FALSE(pane->toPlainText().contains('\t'));
}

TEST_F(WindowTest, TheExtensionBoxTurnsItsFieldOnAndOff) {
  auto* edit = qobject_cast<QLineEdit*>(control(kExtensionEdit));
  click(control(kExtensionCheck));
  EXPECT_TRUE(edit->isEnabled());
  QTest::keyClicks(edit, "*.mp3");
  click(control(kExtensionCheck));
  EXPECT_FALSE(edit->isEnabled());
  EXPECT_EQ(edit->text(), "*.mp3");
  EXPECT_EQ(window->options().extensionFilter, "*.mp3");
  EXPECT_FALSE(window->options().extensionFilterOn);
}

TEST_F(WindowTest, MnemonicsReachTheirControls) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  // A mnemonic presses its button visibly: the click comes a moment later.
  QTest::keyClick(window.get(), Qt::Key_I, Qt::AltModifier);  // "&Inclure les sous répertoires"
  EXPECT_TRUE(QTest::qWaitFor([this] { return !window->options().includeSubfolders; }));
  EXPECT_FALSE(isChecked(control(kIncludeSubfolders)));
  QTest::keyClick(window.get(), Qt::Key_M, Qt::AltModifier);  // "&MAJ"
  EXPECT_TRUE(QTest::qWaitFor(
      [this] { return labelText(control(kFolderSize)) == "Taille du dossier:  0  Octets"; }));
  QTest::keyClick(window.get(), Qt::Key_Q, Qt::AltModifier);  // "&Quitter"
  EXPECT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }));
}

TEST_F(WindowTest, QuitEscapeAndTheCloseBoxEndTheWindowEvenDuringAListing) {
  click(control(kExtraction));
  click(control(kQuit));
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->result(), QDialog::Accepted);
  window->show();
  click(control(kExtraction));
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  window->show();
  click(control(kExtraction));
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->result(), QDialog::Rejected);
}

// Music/{Artist/{Song.mp3, Live/{a.ogg}}, list.TXT, .hidden, "odd\tname.mp3"}
class ExtractionTest : public WindowTest {
 protected:
  ExtractionTest() {
    tree.createFile("Music/Artist/Song.mp3", "abcd");
    tree.createFile("Music/Artist/Live/a.ogg", "x");
    tree.createFile("Music/list.TXT", "hello!!");
    tree.createFile("Music/.hidden");
    tree.createFile("Music/odd\tname.mp3");
    // Line and paragraph separators in names: one report line each, in the pane and copies too.
    for (const char* name : {"a\u2028b.mp3", "c\u2029d.mp3", "e\u0085f.mp3"}) {
      tree.createFile(std::string("Music/") + name);
    }
  }
  std::string cli(std::vector<std::string> arguments) {
    arguments.push_back(tree.path("Music"));
    const ProcessResult result = runCli(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
  }
  void openAll(QTreeWidgetItem* item) {
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i) {
      if (FolderTree::isFolderItem(item->child(i))) openAll(item->child(i));
    }
  }
};

TEST_F(ExtractionTest, TheWindowListsTheBytesTheCommandLineDoes) {
  select("Music");
  extract();
  EXPECT_EQ(window->reportBuffer(), cli({}));
  QString shown = QString::fromStdString(window->reportBuffer());
  EXPECT_EQ(window->pane()->toPlainText(), shown.remove('\r'));
  click(control(kCopy));
  EXPECT_EQ(QApplication::clipboard()->text(), shown);

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
  EXPECT_TRUE(window->pane()->toPlainText().contains("|\t="));  // the typed tab survives
}

TEST_F(ExtractionTest, WhatTheOpenTreeShowsListsAsTheDisk) {
  select("Music");
  openAll(window->tree()->currentItem());
  click(control(kExtractTree));
  extract();
  EXPECT_EQ(window->reportBuffer(), cli({}));
  // Closing a folder takes its contents out of the next listing.
  window->tree()->findChildByText(window->tree()->currentItem(), "Artist")->setExpanded(false);
  extract();
  EXPECT_EQ(window->reportBuffer().find("Song.mp3"), std::string::npos);
}

TEST_F(ExtractionTest, AskingTheTreeForSizesWarnsOncePerRun) {
  select("Music");
  openAll(window->tree()->currentItem());
  click(control(kExtractTree));
  whenModalShows([](QWidget* dialog) {
    click(qobject_cast<FormatOptionsDialog*>(dialog)->control(kFileSize));
    click(qobject_cast<FormatOptionsDialog*>(dialog)->control(kOk));
  });
  click(control(kFormatOptions));
  const auto seen = answerMessageBoxes();
  click(control(kExtraction));
  EXPECT_EQ(seen->count, 1);
  EXPECT_EQ(seen->caption, "Avertissement");
  EXPECT_EQ(seen->icon, QMessageBox::Warning);
  EXPECT_TRUE(seen->text.startsWith("Attention ! La taille des fichiers n'est pas calculée"));
  click(control(kExtraction));
  EXPECT_EQ(seen->count, 2);
  EXPECT_EQ(window->reportBuffer(), cli({}));  // listed without sizes
}

TEST_F(ExtractionTest, TheProgressBarEndsFullAndNoSelectionDoesNothing) {
  select("Music");
  extract();
  const QProgressBar* bar = window->progressBar();
  EXPECT_EQ(bar->value(), bar->maximum());
  window->tree()->setCurrentItem(nullptr);
  extract();
  EXPECT_EQ(window->reportBuffer(), cli({}));
}

TEST_F(ExtractionTest, WhileTheDiskIsWalkedTheWindowTakesNoInputThatWouldChangeTheListing) {
  select("Music");
  window->control(kExtraction)->setFocus();
  click(control(kExtraction));
  ASSERT_TRUE(window->isListing());
  EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor);
  for (const int id : {kTree, kExtraction, kIncludeSubfolders, kNoFiles, kNoFolders, kExtractTree,
                       kFormatOptions, kSaveAs, kExtensionCheck, kExtensionEdit}) {
    EXPECT_FALSE(control(id)->isEnabled()) << id;
  }
  for (const int id : {kQuit, kHelp, kAbout, kCopy, kUpdateSize}) {
    EXPECT_TRUE(control(id)->isEnabled()) << id;
  }
  click(control(kNoFiles));  // dropped, not kept for later
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isListing(); }));
  EXPECT_FALSE(isChecked(control(kNoFiles)));
  EXPECT_EQ(window->reportBuffer(), cli({}));
  EXPECT_TRUE(control(kNoFiles)->isEnabled());
  EXPECT_FALSE(control(kExtensionEdit)->isEnabled());
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(window->focusWidget(), control(kExtraction));
}

TEST_F(ExtractionTest, TheFolderSizeLine) {
  select("Music");
  click(control(kUpdateSize));
  waitForSize();
  EXPECT_EQ(labelText(control(kFolderSize)), "Taille du dossier:  12  Octets");
  click(control(kIncludeSubfolders));
  click(control(kUpdateSize));
  waitForSize();
  EXPECT_EQ(labelText(control(kFolderSize)), "Taille du dossier:  7  Octets");

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
  waitForSize();
  EXPECT_EQ(labelText(control(kFolderSize)), "Taille du dossier:  4  Octets");
  QTreeWidgetItem* listFile = folders->findChildByText(music, "list.TXT");
  folders->scrollToItem(listFile);
  const QPoint list = folders->visualItemRect(listFile).center();
  QTest::mousePress(folders->viewport(), Qt::LeftButton, {}, list);
  EXPECT_TRUE(window->isSizing());
  waitForSize();
  QTest::mouseRelease(folders->viewport(), Qt::LeftButton, {}, list);
  EXPECT_FALSE(window->isSizing());
  EXPECT_EQ(labelText(control(kFolderSize)), "Taille du dossier:  7  Octets");
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
  waitForSize();
  EXPECT_EQ(labelText(control(kFolderSize)), "Taille du dossier:  3  Octets");
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(deepestFolder.opened());
}

}  // namespace

}  // namespace tarvel
