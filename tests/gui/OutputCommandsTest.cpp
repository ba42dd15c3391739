#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include "app/ControlIds.h"
#include "app/PaneText.h"
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

// Every text the user reads is French, whatever the language the program is started in.
TEST_F(WindowTest, TheSaveDialogSpeaksFrenchProposesDirsTxtAndAddsTheExtension) {
  FileDialogSaveChooser chooser;
  const std::string folder = tree.path("home/user");
  QStringList question;
  whenModalShows([&folder, &question](QWidget* shown) {
    auto* dialog = qobject_cast<QFileDialog*>(shown);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->selectedFiles().value(0).endsWith("/Dirs.txt"));
    EXPECT_EQ(dialog->defaultSuffix(), "txt");
    EXPECT_EQ(dialog->nameFilters().size(), 2);
    EXPECT_TRUE(dialog->selectedNameFilter().startsWith("Fichiers Textes (*.txt,*.log,*.wri)"));
    QStringList texts;
    for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
      texts << dialog->findChild<QLabel*>(label)->text();
    }
    for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons()) {
      texts << button->text();
    }
    EXPECT_EQ(texts, QStringList({"Voir dans :", "&Nom de fichier :", "Fichiers de type :",
                                  "&Enregistrer", "Annuler"}));
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(QString::fromStdString(folder))), "Dossier");
    EXPECT_EQ(QLocale::system().monthName(12, QLocale::ShortFormat), "déc.");  // file dates
    dialog->setDirectory(QString::fromStdString(folder));
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    // Typed without extension: ".txt" is added before the dialog looks for the file, so
    // replacing "notes.txt" is asked about, in French.
    name->setText("notes");
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&question] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      question << box->text();
      for (QAbstractButton* button : box->buttons()) question << button->text();
      box->button(QMessageBox::Yes)->click();
    });
    answer.start(5);
    QMetaObject::invokeMethod(dialog, "accept");
  });
  const auto chosen = chooser.chooseSaveFile(window.get());
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->toStdString(), folder + "/notes.txt");
  EXPECT_EQ(question, QStringList({"Le fichier notes.txt existe déjà\nVoulez-vous l'écraser ?",
                                   "&Oui", "&Non"}));

  const std::unique_ptr<QMenu> menu(window->pane()->createStandardContextMenu());
  QStringList entries;
  for (const QAction* action : menu->actions()) entries << action->text().section('\t', 0, 0);
  EXPECT_EQ(entries, QStringList({"&Annuler", "&Rétablir", "", "Co&uper", "Cop&ier", "Co&ller",
                                  "Supprimer", "", "Tout sélectionner"}));
}

TEST_F(WindowTest, AReportOfManyPiecesReachesThePaneWholeThirtyTwoLinesToAParagraph) {
  std::string report;
  int lines = 0;
  for (; report.size() < 2'200'000; ++lines) report += " |-été " + std::to_string(lines) + "\r\n";
  for (int i = 0; i < 400'000; ++i) report += "\u20AC";  // a line longer than a piece
  report += "\r\n";
  ++lines;
  showInPane(window->pane(), report);
  EXPECT_EQ(window->pane()->toPlainText(), QString::fromStdString(report).remove('\r'));
  EXPECT_EQ(window->pane()->document()->blockCount(), lines / 32 + 1);
  EXPECT_FALSE(window->pane()->document()->isUndoAvailable());  // no history as big as the text
}

// The window's context menu offers the About box too; Escape closes it.
TEST_F(WindowTest, TheContextMenuOpensAbout) {
  bool aboutShown = false;
  QTimer::singleShot(0, [&aboutShown] {
    QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().first()->text(), "&A propos de Tarvelinquistombrel...");
    whenModalShows([&aboutShown](QWidget* about) {
      aboutShown = about->windowTitle() == "A propos de Tarvelinquistombrel";
      QTest::keyClick(about, Qt::Key_Escape);
    });
    menu->actions().first()->trigger();
    menu->close();
  });
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                              window->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(window.get(), &menuEvent);
  EXPECT_TRUE(aboutShown);
}

}  // namespace

}  // namespace tarvel
