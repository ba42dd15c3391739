#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <chrono>

#include "tests/support/ProcessRunner.h"

namespace tarvel {

QRect buttonPart(const QWidget* button, bool text) {
  const bool box = qobject_cast<const QCheckBox*>(button) != nullptr;
  if (!box && qobject_cast<const QRadioButton*>(button) == nullptr) return {};
  QStyleOptionButton option;
  option.initFrom(button);
  const auto part = box ? (text ? QStyle::SE_CheckBoxContents : QStyle::SE_CheckBoxIndicator)
                        : (text ? QStyle::SE_RadioButtonContents : QStyle::SE_RadioButtonIndicator);
  return button->style()->subElementRect(part, &option, button);
}

void click(QWidget* button) {
  const QRect box = buttonPart(button, false);
  QTest::mouseClick(button, Qt::LeftButton, {}, (box.isNull() ? button->rect() : box).center());
}

void whenModalShows(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    // From the event queue, not from the timer: a modal loop the action opens gets no timer
    // events while a timer's own handler runs.
    QMetaObject::invokeMethod(
        modal, [action, modal] { action(modal); }, Qt::QueuedConnection);
  });
  timer->start(5);
}

std::shared_ptr<MessageSeen> answerMessageBoxes() {
  auto seen = std::make_shared<MessageSeen>();
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [timer, watch = std::weak_ptr(seen)] {
    const auto record = watch.lock();
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!record) {
      delete timer;
    } else if (box != nullptr && box->isVisible()) {
      *record = {box->text(), box->icon(), record->count + 1,
                 box->windowModality() == Qt::WindowModal, box->textFormat() == Qt::PlainText};
      box->buttons().constFirst()->click();
    }
  });
  timer->start(5);
  return seen;
}

WindowTest::WindowTest() : savedHome(qgetenv("HOME")) {
  tree.createFile("home/user/notes.txt");
  tree.createFile("home/user/" + std::string(200, 'n'));
  for (int i = 0; i < 40; ++i) tree.createFile("home/user/z" + std::to_string(i));  // scrolls
  tree.createFile("Music/Artist/Song.mp3", "abcd");
  tree.createFile("Music/Artist/Live/a.ogg", "x");
  tree.createFile("Music/list.TXT", "hello!!");
  for (const char* name :
       {".hidden", "odd\tname.mp3", "été.txt", "a\u2028b.mp3", "c\u2029d.mp3", "e\u0085f.mp3"})
    tree.createFile(std::string("Music/") + name);
  for (int i = 0; i < 80; ++i) tree.createFile("Music/file" + std::to_string(i) + ".txt");
  qputenv("HOME", tree.path("home/user").c_str());
  window = std::make_unique<MainDialog>();
  window->show();
}

WindowTest::~WindowTest() {
  window.reset();
  // Stopped work ends on its own: none may outlive the test's tree.
  EXPECT_TRUE(BackgroundJob::waitForAllWork(std::chrono::seconds(10)));
  qputenv("HOME", savedHome);
}

std::string WindowTest::cli(std::vector<std::string> arguments) {
  arguments.push_back(tree.path("Music"));
  const ProcessResult result = runCli(arguments);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  return result.out;
}

}  // namespace tarvel
