// The program as it runs: the main window in its own modal loop, started by initInstance.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMessageBox>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <filesystem>
#include <set>

#include "app/ControlIds.h"
#include "app/ListingApp.h"
#include "app/MainDialog.h"
#include "browser/FolderTree.h"
#include "platform/Version.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/ProcessRunner.h"

namespace tarvel {

namespace {

MainDialog* mainWindow() {
  return qobject_cast<MainDialog*>(QApplication::activeModalWidget());
}

// Input as the window system delivers it, which a window blocked by a modal one never gets:
// Page Down scrolls the page, which fills the window.
void expectHelpTakesInput(HelpWindow* help) {
  ASSERT_TRUE(help != nullptr && help->isVisible());
  QTextBrowser* browser = help->browser();
  EXPECT_EQ(browser->size(), help->size());
  browser->verticalScrollBar()->setValue(0);
  QTest::keyClick(help->windowHandle(), Qt::Key_PageDown);
  EXPECT_GT(browser->verticalScrollBar()->value(), 0);
}

// F1, as "Aide (F1)", opens the book at its first page, at its top, whatever page was left.
TEST_F(WindowTest, TheHelpReopensAtTheTopOfItsFirstPage) {
  QTest::keyClick(window.get(), Qt::Key_F1);
  HelpWindow* help = window->helpWindow();
  ASSERT_TRUE(help != nullptr && help->isVisible());
  QTextBrowser* browser = help->browser();
  const QUrl contents = browser->source();
  EXPECT_EQ(contents.fileName(), "index.html");
  EXPECT_EQ(help->size(), QSize(640, 560));  // room for a page's lines, beside the window
  help->resize(420, 160);
  for (int open = 0; open < 2; ++open) {
    browser->setSource(contents.resolved(QUrl(open == 0 ? "options.html" : "index.html")));
    browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
    help->close();
    open == 0 ? QTest::keyClick(window.get(), Qt::Key_F1) : click(control(kHelp));
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(browser->source(), contents);
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
  }
  // What the browser draws from its palette, the list bullets among it, has the pages' colours:
  // nothing in the desktop's black.
  help->resize(640, 1000);
  const QImage shown = browser->viewport()->grab().toImage();
  int black = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) black += shown.pixelColor(x, y) == QColor(Qt::black);
  }
  EXPECT_EQ(black, 0);
}

// The main window in its own modal loop, as initInstance runs it, driven from inside that loop.
TEST_F(WindowTest, TheHelpTakesInputBesideTheWindowAndItsDialogsInTheRealLoop) {
  window->hide();
  bool ran = false;
  QTimer::singleShot(0, [&ran] {
    MainDialog& program = *mainWindow();
    click(program.control(kHelp));
    HelpWindow* help = program.helpWindow();
    help->resize(420, 320);  // every page scrolls
    EXPECT_TRUE(QTest::qWaitForWindowActive(help));
    // A click on a link to another page opens it.
    QTextBrowser* browser = help->browser();
    const QString page = browser->source().fileName();
    QTextCursor link(browser->document());
    for (QString to; !link.atEnd() && (!to.endsWith(".html") || to.endsWith(page));) {
      link.movePosition(QTextCursor::NextCharacter);
      to = link.charFormat().anchorHref();
    }
    const QPoint where = browser->viewport()->mapTo(help, browser->cursorRect(link).center());
    QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, where);
    // It opens; a web address opens in the desktop's browser.
    EXPECT_TRUE(browser->source().fileName() != page && browser->openExternalLinks());
    EXPECT_EQ(help->windowTitle(), "Aide de Tarvelinquistombrel");
    expectHelpTakesInput(help);

    whenModalShows([&](QWidget* about) {
      EXPECT_EQ(about->windowTitle(), "A propos de Tarvelinquistombrel");
      // F1 brings it to the front; a window manager may refuse the focus to keys a test makes up
      // (they carry no user time), so only offscreen is it checked.
      QTest::keyClick(about->windowHandle(), Qt::Key_F1);
      EXPECT_TRUE(QApplication::platformName() == "xcb" || QTest::qWaitForWindowActive(help));
      expectHelpTakesInput(help);
      click(about->findChild<QWidget*>("1"));
    });
    // From the window's context menu, by the letter of its one item.
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A); });
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, program.mapToGlobal(QPoint()));
    QApplication::sendEvent(&program, &menu);
    whenModalShows([&](QWidget* options) {
      help->close();
      QTest::keyClick(options->windowHandle(), Qt::Key_F1);
      expectHelpTakesInput(help);
      click(options->findChild<QWidget*>("2"));  // Annuler
    });
    click(program.control(kFormatOptions));

    help->close();
    click(program.control(kQuit));
    ran = true;
  });
  EXPECT_EQ(static_cast<ListingApp*>(qApp)->initInstance(), 0);
  EXPECT_TRUE(ran);
}

// A whole session in a process of its own: options, a listing, a save through the real save
// dialog, help, About, then a listing of a wide tree cut short by "&Quitter".
TEST(ProgramTest, ASessionWritesOnlyWhatIsSavedAndQuitsDuringAWalk) {
  TestTree tree("/dev/shm");
  tree.createFile("home/Small/a.txt", "a");
  for (int folder = 0; folder < 3000; ++folder)
    tree.createDir("home/Wide/d" + std::to_string(10000 + folder));
  tree.createDir("home/Wide/d12999/last");  // the tree opens d12999 to draw it; only a walk goes in
  const auto filesUnderHome = [&] {
    const std::filesystem::recursive_directory_iterator all(tree.path("home"));
    return std::set<std::filesystem::path>(begin(all), end(all));
  };
  std::set<std::filesystem::path> expected = filesUnderHome();
  expected.insert(tree.path("home/Dirs.txt"));
  const FolderOpenWatch lastFolder(tree.path("home/Wide/d12999/last"));

  const ProcessResult result = runProcess(
      {std::filesystem::read_symlink("/proc/self/exe").string(), "--run-session",
       tree.path("home/Small"), tree.path("home/Wide")},
      {.environment = {"HOME=" + tree.path("home")}, .workingFolder = tree.path("home")});
  EXPECT_TRUE(result.exitCode == 0 && result.out == "about, quit while listing\n") << result.err;
  EXPECT_FALSE(lastFolder.opened());  // the walk was stopped, not waited for
  EXPECT_EQ(filesUnderHome(), expected);
  EXPECT_EQ(tree.readFile("home/Dirs.txt"), "Small\r\n |-A.txt\r\n |------/\r\n");
}

// Started with a path, as a desktop's "Ouvrir avec" or a shell starts it, the tree opens on it,
// near the top as on home; without a path the tree can open on, it opens on home and says why.
TEST(ProgramTest, TheTreeOpensOnThePathTheProgramIsGiven) {
  TestTree tree;
  tree.createFile("home/user/notes.txt");
  tree.createFile("Music/Artist/Song.mp3");
  tree.createDir("-odd");
  const std::string home = tree.path("home/user") + " en haut\n";
  const std::string unknown =
      "tarvelinquistombrel: option inconnue « --bogus »\n"
      "Essayez « tarvelinquistombrel --help » pour plus d'informations.\n";
  const std::pair<std::vector<std::string>, ProcessResult> starts[] = {
      {{"Music/Artist"}, {0, tree.path("Music/Artist") + " en haut\n", ""}},
      {{tree.path("Music/Artist/Song.mp3")},
       {0, tree.path("Music/Artist/Song.mp3") + " en haut\n", ""}},
      {{"--", "-odd"}, {0, tree.path("-odd") + " en haut\n", ""}},
      {{}, {0, home, ""}},
      {{"Music/nothere"},
       {0, home + "Impossible de trouver « " + tree.path("Music/nothere") + " ».\n", ""}},
      {{"Music", "odd\nname"},
       {0,
        home + "Un seul dossier ou fichier s'ouvre au démarrage, 2 chemins ont été donnés : "
               "« Music », « odd\\nname ».\n",
        ""}},
      {{"--bogus", "Music"}, {2, "", unknown}},
  };
  for (const auto& [arguments, expected] : starts) {
    std::vector<std::string> command = {std::filesystem::read_symlink("/proc/self/exe").string(),
                                        "--run-program"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const ProcessResult result = runProcess(
        command, {.environment = {"HOME=" + tree.path("home/user")}, .workingFolder = tree.root()});
    // Standard error holds Qt's own remarks too.
    EXPECT_TRUE(result.exitCode == expected.exitCode && result.out == expected.out &&
                result.err.ends_with(expected.err))
        << testing::PrintToString(result);
  }
}

// Help and version come on standard output without a window, so without a display.
TEST(ProgramTest, HelpAndVersionNeedNoDisplay) {
  ProcessOptions noDisplay;
  noDisplay.environment = {"QT_QPA_PLATFORM=xcb", "DISPLAY=:4095", "WAYLAND_DISPLAY=absent"};
  EXPECT_NE(runProcess({kWindowPath}, noDisplay).exitCode, 0);  // no display indeed
  EXPECT_EQ(runProcess({kWindowPath, "--version"}, noDisplay),
            (ProcessResult{0, "tarvelinquistombrel " + std::string(kVersion) + "\n", ""}));
  const ProcessResult help = runProcess({kWindowPath, "Music", "--help"}, noDisplay);
  EXPECT_TRUE(help.exitCode == 0 && help.err.empty() &&
              help.out.starts_with("Utilisation : tarvelinquistombrel [OPTION]... [CHEMIN]\n"))
      << testing::PrintToString(help);
  EXPECT_EQ(
      runProcess({"sh", "-c", "exec \"$0\" --version >/dev/full", kWindowPath}, noDisplay),
      (ProcessResult{1, "", "tarvelinquistombrel: impossible d'écrire sur la sortie standard\n"}));
}

}  // namespace

int runStartedProgram(int argc, char** argv) {
  ListingApp application(argc, argv);
  // Long after the window shows, and a message box if one comes: the item selected, whether
  // it is at the top of the tree, whether the tree has more than its one root, and what the
  // box said.
  QTimer::singleShot(500, [] {
    std::string told;
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      told = box->text().toStdString() + "\n";
      box->accept();
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* window = qobject_cast<MainDialog*>(widget);
      if (window == nullptr) continue;
      const FolderTree* folders = window->tree();
      const QRect row = folders->visualItemRect(folders->currentItem());
      std::printf("%s%s%s\n%s", folders->getItemPath(folders->currentItem()).c_str(),
                  row.top() <= row.height() ? " en haut" : "",
                  folders->topLevelItemCount() == 1 ? "" : " sous plusieurs racines", told.c_str());
      QTimer::singleShot(0, window, [window] { click(window->control(kQuit)); });
    }
  });
  return application.initInstance();
}

int runScriptedSession(int /*argc*/, char** argv) {
  const std::string small = argv[2];
  const std::string wide = argv[3];
  int programOnly = 1;  // the folders are the session's, not the program's
  ListingApp application(programOnly, argv);
  QTimer::singleShot(0, [&] {
    MainDialog& window = *mainWindow();
    whenModalShows([](QWidget* options) { click(options->findChild<QWidget*>("1")); });
    click(window.control(kFormatOptions));
    EXPECT_TRUE(window.tree()->selectPath(small));
    click(window.control(kExtraction));
    if (!QTest::qWaitFor([&] { return !window.isListing(); }))
      std::fputs("listing hangs\n", stdout);
    // The real save dialog, in the working folder, with its proposed name.
    whenModalShows([](QWidget* save) { QMetaObject::invokeMethod(save, "accept"); });
    click(window.control(kSaveAs));
    QTest::keyClick(window.windowHandle(), Qt::Key_F1);
    // The About button shows the box (told on standard output), which is then closed.
    whenModalShows([](QWidget* about) { std::fputs("about, ", stdout), about->close(); });
    click(window.control(kAbout));
    EXPECT_TRUE(window.tree()->selectPath(wide));
    click(window.control(kExtraction));
    std::fputs(window.isListing() ? "quit while listing\n" : "not listing\n", stdout);
    click(window.control(kQuit));
  });
  return application.initInstance();
}

}  // namespace tarvel
