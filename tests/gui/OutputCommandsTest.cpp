#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "app/ControlIds.h"
#include "app/HelpWindow.h"
#include "tests/gui/GuiTestSupport.h"

namespace tarvel {

namespace {

// A folder with enough lines to scroll the pane, and an accented name.
class OutputTest : public WindowTest {
 protected:
  OutputTest() {
    for (int i = 0; i < 80; ++i) tree.createFile("Big/file" + std::to_string(i) + ".txt");
    tree.createFile("Big/été.txt");
    select("Big");
    extract();
  }
  std::string saveTo(const std::string& relative) {
    saveChooser.answer = QString::fromStdString(tree.path(relative));
    click(control(kSaveAs));
    return tree.readFile(relative);
  }
};

TEST_F(OutputTest, CopyTakesThePaneWholeAndShowsItsFirstLine) {
  QPlainTextEdit* pane = window->pane();
  pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->maximum());
  QTest::keyClicks(pane, "typed");  // the user's edits go with the copy, not with a save
  click(control(kCopy));
  const QString copied = QApplication::clipboard()->text();
  EXPECT_EQ(copied, pane->toPlainText());
  EXPECT_TRUE(copied.contains("typed"));
  EXPECT_FALSE(copied.contains('\r'));
  EXPECT_TRUE(copied.contains(QString::fromUtf8("\xC3\x89t\xC3\xA9.txt")));  // "Été.txt"
  EXPECT_FALSE(pane->textCursor().hasSelection());
  EXPECT_EQ(pane->verticalScrollBar()->value(), 0);
  EXPECT_EQ(saveTo("saved.txt"), window->reportBuffer());
}

TEST_F(OutputTest, SaveWritesTheReportBytesAndReplacesAnOldFile) {
  tree.createFile("old.txt", std::string(100000, 'x'));
  const std::string saved = saveTo("old.txt");
  EXPECT_EQ(saved, window->reportBuffer());
  EXPECT_NE(saved.find("\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\xC3\x89t\xC3\xA9.txt"), std::string::npos);

  saveChooser.answer.reset();  // cancelled: nothing written
  click(control(kSaveAs));
  EXPECT_EQ(saveChooser.asked, 2);
}

TEST_F(OutputTest, AFailedSaveSaysWhyAndKeepsTheOldFile) {
  tree.createFile("readonly.txt", "keep");
  tree.setMode("readonly.txt", 0444);
  const struct {
    const char* target;
    std::string message;
  } cases[] = {
      {"readonly.txt", "L'accès à " + tree.path("readonly.txt") + " a été refusé."},
      {"missing/out.txt", tree.path("missing/out.txt") + " contient un chemin non valide."},
  };
  for (const auto& c : cases) {
    const auto seen = answerMessageBoxes();
    saveChooser.answer = QString::fromStdString(tree.path(c.target));
    click(control(kSaveAs));
    EXPECT_EQ(seen->count, 1) << c.target;
    EXPECT_EQ(seen->caption, "Tarvelinquistombrel");
    EXPECT_EQ(seen->icon, QMessageBox::Critical);
    EXPECT_EQ(seen->text.toStdString(), c.message);
  }
  EXPECT_EQ(tree.readFile("readonly.txt"), "keep");
}

TEST_F(WindowTest, SavingBeforeAnyListingMakesAnEmptyFile) {
  tree.createFile("out.txt", "old");
  saveChooser.answer = QString::fromStdString(tree.path("out.txt"));
  click(control(kSaveAs));
  EXPECT_EQ(tree.readFile("out.txt"), "");
}

TEST_F(WindowTest, TheSaveDialogProposesDirsTxtAndAddsTheExtension) {
  FileDialogSaveChooser chooser;
  const std::string folder = tree.path("home/user");
  whenModalShows([&folder](QWidget* shown) {
    auto* dialog = qobject_cast<QFileDialog*>(shown);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->selectedFiles().value(0).endsWith("/Dirs.txt"));
    EXPECT_EQ(dialog->defaultSuffix(), "txt");
    EXPECT_EQ(dialog->nameFilters().size(), 2);
    EXPECT_TRUE(dialog->selectedNameFilter().startsWith("Fichiers Textes (*.txt,*.log,*.wri)"));
    dialog->setDirectory(QString::fromStdString(folder));
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText("listing");  // as typed, without extension
    QMetaObject::invokeMethod(dialog, "accept");
  });
  const auto chosen = chooser.chooseSaveFile(window.get());
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->toStdString(), folder + "/listing.txt");
}

TEST_F(WindowTest, HelpOpensFromEveryWindowAndAboutCloses) {
  ASSERT_FALSE(HelpWindow::findIndexPage().isEmpty()) << "the help book is not beside the tests";
  QTest::keyClick(window.get(), Qt::Key_F1);
  ASSERT_NE(window->helpWindow(), nullptr);
  EXPECT_TRUE(window->helpWindow()->isVisible());
  EXPECT_FALSE(window->helpWindow()->browser()->toPlainText().isEmpty());
  window->helpWindow()->close();

  bool aboutShown = false;
  whenModalShows([this, &aboutShown](QWidget* about) {
    aboutShown = about->windowTitle() == "A propos de Tarvelinquistombrel";
    QTest::keyClick(about, Qt::Key_F1);  // help from the About box too
    EXPECT_TRUE(window->helpWindow()->isVisible());
    click(about->findChild<QWidget*>("1"));
  });
  click(control(kAbout));
  EXPECT_TRUE(aboutShown);

  whenModalShows([](QWidget* about) { QTest::keyClick(about, Qt::Key_Escape); });
  click(control(kAbout));

  // The window's context menu offers the About box too.
  QTimer::singleShot(0, [] {
    QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().first()->text(), "&A propos de Tarvelinquistombrel...");
    whenModalShows([](QWidget* about) { QTest::keyClick(about, Qt::Key_Escape); });
    menu->actions().first()->trigger();
    menu->close();
  });
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                              window->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(window.get(), &menuEvent);
  click(control(kHelp));
  EXPECT_TRUE(window->helpWindow()->isVisible());
}

}  // namespace

}  // namespace tarvel
