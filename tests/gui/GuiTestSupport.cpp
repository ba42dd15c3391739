#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include "app/ControlIds.h"
#include "browser/FolderTree.h"

namespace tarvel {

void click(QWidget* button) {
  QPoint where = button->rect().center();
  if (auto* box = qobject_cast<QCheckBox*>(button)) {
    QStyleOptionButton option;
    option.initFrom(box);
    where = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
  } else if (auto* radio = qobject_cast<QRadioButton*>(button)) {
    QStyleOptionButton option;
    option.initFrom(radio);
    where =
        radio->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, radio).center();
  }
  QTest::mouseClick(button, Qt::LeftButton, {}, where);
}

void whenModalShows(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
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
  timer->start();
}

std::shared_ptr<MessageSeen> answerMessageBoxes() {
  auto seen = std::make_shared<MessageSeen>();
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  std::weak_ptr<MessageSeen> watch = seen;
  QObject::connect(timer, &QTimer::timeout, [timer, watch] {
    const auto record = watch.lock();
    if (!record) {
      timer->stop();
      timer->deleteLater();
      return;
    }
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    record->caption = box->windowTitle();
    record->text = box->text();
    record->icon = box->icon();
    ++record->count;
    box->buttons().constFirst()->click();
  });
  timer->start();
  return seen;
}

WindowTest::WindowTest() : savedHome(qgetenv("HOME")) {
  tree.createFile("home/user/notes.txt");
  tree.createFile("home/user/" + std::string(200, 'n'));
  qputenv("HOME", tree.path("home/user").c_str());
  window = std::make_unique<MainDialog>();
  window->setSaveFileChooser(&saveChooser);
  window->show();
}

WindowTest::~WindowTest() {
  window.reset();
  qputenv("HOME", savedHome);
}

FolderOpenWatch::FolderOpenWatch(const std::string& folder)
    : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  EXPECT_GE(::inotify_add_watch(fd_, folder.c_str(), IN_OPEN), 0) << folder;
}

FolderOpenWatch::~FolderOpenWatch() {
  ::close(fd_);
}

bool FolderOpenWatch::opened() const {
  char events[4096];
  return ::read(fd_, events, sizeof events) > 0;
}

void WindowTest::extract() {
  click(control(kExtraction));
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isListing(); }));
}

void WindowTest::waitForSize() {
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isSizing(); }));
}

void WindowTest::select(const std::string& relative) {
  ASSERT_TRUE(window->tree()->selectPath(tree.path(relative))) << relative;
}

}  // namespace tarvel
