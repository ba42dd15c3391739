#pragma once

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QLabel>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/MainDialog.h"
#include "browser/FolderTree.h"
#include "tests/support/TestTree.h"

// Test messages show texts as they read.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace tarvel {

// Where the style draws the box of a check box or radio button, or its `text`, in the control's
// coordinates; null for other controls.
QRect buttonPart(const QWidget* button, bool text);
// Clicks a button; a check box or radio button on its box, not in the middle of its text.
void click(QWidget* button);

// Runs `action` on the next modal window (a dialog or a message box) as soon as it shows,
// from inside its own event loop. Call before the command that opens it.
void whenModalShows(std::function<void(QWidget*)> action);

// What a message box said, closed with its first button.
struct MessageSeen {
  QString text;
  int icon = 0;  // QMessageBox::Icon
  int count = 0;
  bool windowModal = false;  // the help, a window of its own, stays usable beside it
  bool plainText = false;    // a name is shown as it is, never taken for markup
};
// Answers every message box that shows until the returned object goes.
std::shared_ptr<MessageSeen> answerMessageBoxes();

// Whether a folder was opened (by a walk or a sum) since the watch began.
class FolderOpenWatch {
 public:
  explicit FolderOpenWatch(const std::string& folder) {
    EXPECT_GE(::inotify_add_watch(fd_, folder.c_str(), IN_OPEN), 0) << folder;
  }
  ~FolderOpenWatch() { ::close(fd_); }
  bool opened() const {
    char events[4096];
    return ::read(fd_, events, sizeof events) > 0;
  }

 private:
  int fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
};

// The program run as a user would, in a child process of the tests: see ProgramTest.
int runScriptedSession(int argc, char** argv);
// The program started with `argv`, as `main` starts it; tells what it opened on, then quits.
int runStartedProgram(int argc, char** argv);

// The window program as built.
inline constexpr const char* kWindowPath = TARVEL_WINDOW_PATH;

// A main window started with the home folder inside a fresh test tree, which also holds
// Music/{Artist/{Song.mp3, Live/{a.ogg}}, list.TXT, .hidden, "odd\tname.mp3", été.txt, names with
// line and paragraph separators, and enough files to scroll the pane}.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;
  // Selects (and opens) the folder `relative` of the test tree.
  void select(const std::string& relative) {
    ASSERT_TRUE(window->tree()->selectPath(tree.path(relative))) << relative;
  }
  // Clicks "Extraction" and waits for the report in the pane.
  void extract() {
    click(control(kExtraction));
    EXPECT_FALSE(control(kExtensionEdit)->isEnabled());  // nothing may change the listing meanwhile
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isListing(); }));
  }
  // The folder size line, once computed (waits for it).
  QString sizeShown() {
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->isSizing(); }));
    return qobject_cast<QLabel*>(control(kFolderSize))->text();
  }
  // The command line's report of Music with `arguments`.
  std::string cli(std::vector<std::string> arguments);
  QWidget* control(int id) const { return window->control(id); }

  TestTree tree;
  QByteArray savedHome;
  std::unique_ptr<MainDialog> window;
};

}  // namespace tarvel
