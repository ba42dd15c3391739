#pragma once

#include <QFont>
#include <QHash>
#include <QRect>
#include <QWidget>

#include "app/DialogTemplate.h"

namespace tarvel {

// Makes the widgets of a dialog layout. Dialog units become pixels through the dialog font's
// metrics, as dialog layouts are meant to: x × average character width / 4 and y × character
// height / 8, so the layout keeps its proportions with any font size.
class DialogBuilder {
 public:
  // The font every dialog of the program is laid out and written with.
  static QFont dialogFont();

  explicit DialogBuilder(const QFont& font = dialogFont());

  QRect toPixels(const QRect& dialogUnits) const;
  QSize toPixels(const QSize& dialogUnits) const;

  // Creates the controls of `layout` in `dialog` in tab order, gives the dialog its caption,
  // font and fixed size, and returns the controls by id. Every control carries its id as its
  // object name, its rectangle in dialog units as the "dialogRect" property and its place in
  // the layout as "dialogIndex".
  QHash<int, QWidget*> build(const DialogTemplate& layout, QWidget* dialog) const;

 private:
  QWidget* makeControl(const ControlTemplate& control, QWidget* parent) const;
  QString wrapped(const QString& text, int width, const QWidget* button) const;

  QFont font_;
  int baseX_ = 1;  // pixels per 4 horizontal dialog units
  int baseY_ = 1;  // pixels per 8 vertical dialog units
};

}  // namespace tarvel
