#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/AboutDialog.h"
#include "app/ControlIds.h"
#include "app/DialogBuilder.h"
#include "app/DialogTemplate.h"
#include "app/FormatOptionsDialog.h"
#include "app/ListingPane.h"
#include "app/MainDialog.h"
#include "app/ReportView.h"
#include "platform/Version.h"
#include "tests/gui/GuiTestSupport.h"

namespace tarvel {

namespace {

// The controls a layout made, in the order the layout lists them.
std::vector<QWidget*> controlsOf(const QWidget& dialog) {
  std::vector<QWidget*> controls;
  for (QObject* child : dialog.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget != nullptr && widget->property("dialogRect").isValid()) controls.push_back(widget);
  }
  std::sort(controls.begin(), controls.end(), [](const QWidget* a, const QWidget* b) {
    return a->property("dialogIndex").toInt() < b->property("dialogIndex").toInt();
  });
  return controls;
}

QString shownText(const QWidget* control) {
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (auto* frame = qobject_cast<const QGroupBox*>(control)) return frame->title();
  return {};
}

// Where a control's text is drawn, in the dialog's coordinates, from the first line's ink to
// the last line's: text, centred in height, after the box of a check box or radio button.
QRect inkRect(const QWidget* control, const QString& text) {
  const QFontMetrics metrics(control->font());
  if (auto* label = qobject_cast<const QLabel*>(control); label != nullptr && label->wordWrap()) {
    const QRect room(0, 0, label->width(), 100000);
    return metrics.boundingRect(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text)
        .translated(control->pos());
  }
  const QStringList lines = QString(text).remove('&').split('\n');
  int width = 0;
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  const auto* button = qobject_cast<const QAbstractButton*>(control);
  const QRect contents = buttonPart(control, true);
  const int left = !contents.isNull()                          ? contents.left()
                   : qobject_cast<const QPushButton*>(control) ? (control->width() - width) / 2
                                                               : 0;
  const int blockHeight = static_cast<int>(lines.size()) * metrics.lineSpacing();
  const int blockTop = button != nullptr ? (control->height() - blockHeight) / 2 : 0;
  const int top = blockTop + metrics.ascent() + metrics.tightBoundingRect(lines.first()).top();
  const int bottom = blockTop + metrics.ascent() +
                     static_cast<int>(lines.size() - 1) * metrics.lineSpacing() +
                     metrics.tightBoundingRect(lines.last()).bottom();
  return QRect(QPoint(left, top), QPoint(left + width - 1, bottom)).translated(control->pos());
}

void checkLayout(QWidget& dialog, const QString& resource) {
  SCOPED_TRACE(resource.toStdString());
  const DialogTemplate layout = DialogTemplate::load(resource);
  const std::vector<QWidget*> controls = controlsOf(dialog);
  ASSERT_EQ(controls.size(), layout.controls.size());
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

  std::vector<std::pair<QRect, QString>> inks;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlTemplate& expected = layout.controls[i];
    QWidget* control = controls[i];
    const QString text = shownText(control);
    const auto* label = qobject_cast<const QLabel*>(control);  // sunken where the layout says
    EXPECT_TRUE(!label || (label->frameShadow() == QFrame::Sunken) == expected.hasFlag("sunken"));
    if (expected.kind == QLatin1String("picture") || qobject_cast<QGroupBox*>(control)) continue;
    EXPECT_EQ(QString(text).replace('\n', ' '),
              QString(expected.text).replace("{version}", TARVEL_VERSION));
    if (text.isEmpty()) continue;  // a tree, a pane, a field: nothing of the layout's to draw
    const QRect ink = inkRect(control, text);
    EXPECT_TRUE(control->geometry().contains(ink)) << expected.text.toStdString();
    EXPECT_TRUE(dialog.rect().contains(control->geometry())) << expected.text.toStdString();
    inks.emplace_back(ink, text);
  }
  for (std::size_t a = 0; a < inks.size(); ++a)
    for (std::size_t b = a + 1; b < inks.size(); ++b)
      EXPECT_FALSE(inks[a].first.intersects(inks[b].first)) << inks[a].second.toStdString();
  // What the layout puts in a group stays inside the group's frame as it is drawn: a few
  // pixels around the room the style leaves for contents, below the title. Buttons and fields
  // draw their whole rectangle; check boxes, radio buttons and labels only their text.
  for (const QWidget* group : controls) {
    const auto* box = qobject_cast<const QGroupBox*>(group);
    if (box == nullptr) continue;
    const QRect frame =
        box->contentsRect().marginsAdded(QMargins(3, 3, 3, 3)).translated(box->pos());
    const QRect area = group->property("dialogRect").toRect();
    for (const QWidget* control : controls) {
      if (control == group || !area.contains(control->property("dialogRect").toRect())) continue;
      const QString text = shownText(control);
      const bool wholeDrawn = text.isEmpty() || qobject_cast<const QPushButton*>(control);
      EXPECT_TRUE(frame.contains(wholeDrawn ? control->geometry() : inkRect(control, text)))
          << box->title().toStdString() << " / " << text.toStdString();
      // In front of its frame: a click on it reaches it.
      const QWidget* clicked = dialog.childAt(control->geometry().center());
      EXPECT_TRUE(clicked == control || control->isAncestorOf(clicked)) << text.toStdString();
    }
  }
}

TEST_F(WindowTest, EveryTextFitsItsControlWithinItsFrame) {
  checkLayout(*window, ":/dialogs/main.json");
  FormatOptionsDialog options;
  checkLayout(options, ":/dialogs/options.json");
  AboutDialog about;
  checkLayout(about, ":/dialogs/about.json");
  auto* label = qobject_cast<QLabel*>(control(kFolderSize));  // its longest line
  label->setText("Taille du dossier:  1024.0  Megaoctets");
  EXPECT_TRUE(label->geometry().contains(inkRect(label, label->text())));
  EXPECT_EQ(label->font().pixelSize(), 13);  // the size the layouts were made for, on any screen
}

// What a screen reader says of every control the keyboard reaches: a French name, from its
// label where it has one; never a bare sign, an "&", or Qt's default name for a column.
TEST_F(WindowTest, EveryControlHasAFrenchNameForAScreenReader) {
  const auto nameOf = [](QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
  };
  window->onHelpCommand();
  FormatOptionsDialog options;
  AboutDialog about;
  for (QWidget* shown :
       std::initializer_list<QWidget*>{window.get(), window->helpWindow(), &options, &about}) {
    int focusable = 0;
    for (QWidget* widget : shown->findChildren<QWidget*>()) {
      if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(shown)) continue;
      ++focusable;
      const QString name = nameOf(widget);
      EXPECT_TRUE(name.size() > 1 && !name.contains('&'))
          << shown->windowTitle().toStdString() << ": " << widget->metaObject()->className() << " "
          << widget->objectName().toStdString() << " \"" << name.toStdString() << '"';
    }
    EXPECT_GT(focusable, 0);
  }
  EXPECT_EQ(nameOf(window->tree()), "Dossiers et fichiers");
  EXPECT_EQ(nameOf(window->pane()->view()), "Fichiers");
  EXPECT_EQ(nameOf(control(kAbout)), "À propos");
  EXPECT_FALSE(nameOf(window->progressBar()).isEmpty());
  EXPECT_EQ(
      QAccessible::queryAccessibleInterface(window->tree())->tableInterface()->columnDescription(0),
      "Nom");
}

// The layouts are part of the program: one missing or broken stops it at once, naming it,
// rather than leave a window without controls to crash later.
TEST(DialogTemplateDeathTest, ABrokenLayoutStopsTheProgramNamingIt) {
  TestTree tree;
  tree.createFile("broken.json", "{\"controls\": [");
  tree.createFile("empty.json", "{\"caption\": \"Sans contrôles\"}");
  for (const std::string name : {"broken.json", "empty.json"})
    EXPECT_DEATH(DialogTemplate::load(QString::fromStdString(tree.path(name))),
                 name + " is broken");
  EXPECT_DEATH(DialogTemplate::load(":/dialogs/none.json"), "none.json is missing");
  DialogTemplate odd;
  odd.controls.push_back(
      {.id = 1, .kind = "dial", .text = {}, .rect = {}, .flags = {}, .labelFor = 0, .name = {}});
  QWidget dialog;
  EXPECT_DEATH(DialogBuilder().build(odd, &dialog), "unknown control kind dial");
}

}  // namespace

}  // namespace tarvel
