#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/MainDialog.h"
#include "app/SaveFileChooser.h"
#include "tests/support/TestTree.h"

class QAbstractButton;
class QWidget;

// Test messages show texts as they read.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace tarvel {

// Clicks a button; a check box or radio button on its box, not in the middle of its text.
void click(QWidget* button);

// Runs `action` on the next modal window (a dialog or a message box) as soon as it shows,
// from inside its own event loop. Call before the command that opens it.
void whenModalShows(std::function<void(QWidget*)> action);

// What a message box said, closed with its first button.
struct MessageSeen {
  QString caption;
  QString text;
  int icon = 0;  // QMessageBox::Icon
  int count = 0;
};
// Answers every message box that shows until the returned object goes.
std::shared_ptr<MessageSeen> answerMessageBoxes();

// Whether a folder was opened (by a walk or a sum) since the watch began.
class FolderOpenWatch {
 public:
  explicit FolderOpenWatch(const std::string& folder);
  ~FolderOpenWatch();
  FolderOpenWatch(const FolderOpenWatch&) = delete;
  FolderOpenWatch& operator=(const FolderOpenWatch&) = delete;
  bool opened() const;

 private:
  int fd_;
};

// Answers the save-as question with a preset path, or cancels.
class ScriptedSaveChooser final : public SaveFileChooser {
 public:
  std::optional<QString> chooseSaveFile(QWidget*) override {
    ++asked;
    return answer;
  }
  std::optional<QString> answer;
  int asked = 0;
};

// The program run as a user would, in a child process of the tests: see ProgramTest.
int runScriptedSession(int argc, char** argv);

// A main window started with the home folder inside a fresh test tree.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;
  // Selects (and opens) the folder `relative` of the test tree.
  void select(const std::string& relative);
  // Clicks "Extraction" and waits for the report in the pane.
  void extract();
  // Waits for the folder size being computed.
  void waitForSize();
  QWidget* control(int id) const { return window->control(id); }

  TestTree tree;
  QByteArray savedHome;
  std::unique_ptr<MainDialog> window;
  ScriptedSaveChooser saveChooser;
};

}  // namespace tarvel
