#include "app/DialogBuilder.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

#include "app/ListingPane.h"
#include "app/OwnGroupRadioButton.h"
#include "browser/FolderTree.h"

namespace tarvel {

namespace {

// Rounded a × b / c, as dialog units are converted.
int scaled(int a, int b, int c) {
  return (a * b + c / 2) / c;
}

}  // namespace

QFont DialogBuilder::dialogFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  // 13 pixels: large enough to read on today's screens, and in this face every text of every
  // layout fits its rectangle.
  font.setPixelSize(13);
  return font;
}

DialogBuilder::DialogBuilder(const QFont& font) : font_(font) {
  const QFontMetrics metrics(font_);
  // The average width of the 52 Latin letters, rounded up as dialog base units are, and the
  // line height.
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  baseX_ = std::max(1, (letters / 26 + 1) / 2);
  baseY_ = std::max(1, metrics.height());
}

QRect DialogBuilder::toPixels(const QRect& dialogUnits) const {
  return {scaled(dialogUnits.x(), baseX_, 4), scaled(dialogUnits.y(), baseY_, 8),
          scaled(dialogUnits.width(), baseX_, 4), scaled(dialogUnits.height(), baseY_, 8)};
}

QSize DialogBuilder::toPixels(const QSize& dialogUnits) const {
  return {scaled(dialogUnits.width(), baseX_, 4), scaled(dialogUnits.height(), baseY_, 8)};
}

QString DialogBuilder::wrapped(const QString& text, int width, const QWidget* button) const {
  // Check boxes and radio buttons do not wrap their text; break it between words to fit.
  const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
  const QStyle* style = button->style();
  const int indicator =
      style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                         nullptr, button) +
      style->pixelMetric(
          radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr,
          button);
  const QFontMetrics metrics(font_);
  QStringList lines;
  QString line;
  for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (!line.isEmpty() &&
        metrics.horizontalAdvance(QString(longer).remove(QLatin1Char('&'))) + indicator > width) {
      lines << line;
      line = word;
    } else {
      line = longer;
    }
  }
  lines << line;
  return lines.join(QLatin1Char('\n'));
}

QWidget* DialogBuilder::makeControl(const ControlTemplate& control, QWidget* parent) const {
  const QString& kind = control.kind;
  const QRect rect = toPixels(control.rect);
  if (kind == QLatin1String("button") || kind == QLatin1String("defbutton")) {
    auto* button = new QPushButton(control.text, parent);
    button->setDefault(kind == QLatin1String("defbutton"));
    button->setAutoDefault(false);
    return button;
  }
  if (kind == QLatin1String("checkbox") || kind == QLatin1String("radio")) {
    QAbstractButton* button =
        kind == QLatin1String("radio")
            ? static_cast<QAbstractButton*>(new OwnGroupRadioButton({}, parent))
            : new QCheckBox(parent);
    button->setText(control.hasFlag("multiline") ? wrapped(control.text, rect.width(), button)
                                                 : control.text);
    return button;
  }
  if (kind == QLatin1String("static")) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);  // names may hold "<"; never guess rich text
    label->setText(control.text);
    label->setWordWrap(control.hasFlag("multiline"));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (control.hasFlag("sunken")) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
  }
  if (kind == QLatin1String("picture")) {
    auto* picture = new QLabel(parent);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const int frame = 2 * picture->frameWidth();
    const QPixmap image(control.text);
    picture->setPixmap(image.scaled(rect.size() - QSize(frame, frame), Qt::KeepAspectRatio,
                                    Qt::SmoothTransformation));
    picture->setAlignment(Qt::AlignCenter);
    return picture;
  }
  if (kind == QLatin1String("groupbox")) return new QGroupBox(control.text, parent);
  if (kind == QLatin1String("edit")) return new QLineEdit(control.text, parent);
  if (kind == QLatin1String("progress")) {
    auto* bar = new QProgressBar(parent);
    bar->setTextVisible(false);
    return bar;
  }
  if (kind == QLatin1String("pane")) return new ListingPane(parent);
  if (kind == QLatin1String("tree")) return new FolderTree(parent);
  // A layout is part of the program: a kind no one knows is a fault of the build.
  qFatal("dialog layout: unknown control kind %s", qPrintable(kind));
}

QHash<int, QWidget*> DialogBuilder::build(const DialogTemplate& layout, QWidget* dialog) const {
  dialog->setFont(font_);
  dialog->setWindowTitle(layout.caption);
  dialog->setFixedSize(toPixels(layout.size));
  QHash<int, QWidget*> controls;
  QList<QWidget*> frames;
  QList<std::pair<QLabel*, int>> labels;
  int index = 0;
  for (const ControlTemplate& control : layout.controls) {
    QWidget* widget = makeControl(control, dialog);
    widget->setGeometry(toPixels(control.rect));
    widget->setProperty("dialogRect", control.rect);
    widget->setProperty("dialogIndex", index++);
    if (control.id != 0) {
      widget->setObjectName(QString::number(control.id));
      controls.insert(control.id, widget);
    }
    if (!control.name.isEmpty()) widget->setAccessibleName(control.name);
    if (control.labelFor != 0) labels.append({qobject_cast<QLabel*>(widget), control.labelFor});
    if (qobject_cast<QGroupBox*>(widget) != nullptr) frames << widget;
  }
  // Frames stay behind the controls they surround, or they would take their clicks.
  for (QWidget* frame : frames) frame->lower();
  // A screen reader names a control by its label, without the colon that ends it. (Views, the
  // tree among them, read only a name set on them, not their label.)
  for (const auto& [label, id] : labels) {
    QWidget* named = controls.value(id);
    if (label == nullptr || named == nullptr) qFatal("dialog layout: label for no control %d", id);
    label->setBuddy(named);
    QString name = label->text().remove(QLatin1Char('&')).trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    named->setAccessibleName(name.trimmed());
  }
  return controls;
}

}  // namespace tarvel
