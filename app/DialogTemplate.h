#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

namespace tarvel {

// One control of a dialog layout: its id (0 for labels and frames nobody refers to), its kind,
// its text and its rectangle in dialog units; what a screen reader calls it, when neither its
// text nor a label says it.
struct ControlTemplate {
  int id = 0;
  QString kind;       // button, defbutton, checkbox, radio, static, groupbox, edit, progress, pane,
                      // tree, picture
  QString text;       // for a picture, the resource path of its image
  QRect rect;         // dialog units
  QStringList flags;  // multiline, sunken
  int labelFor = 0;   // a label: the id of the control it names
  QString name;       // the accessible name

  bool hasFlag(const char* flag) const { return flags.contains(QLatin1String(flag)); }
};

// A window's layout as the resource files describe it, controls in tab order.
struct DialogTemplate {
  QString caption;
  QSize size;  // dialog units
  std::vector<ControlTemplate> controls;

  // Reads a layout from a resource (":/dialogs/main.json"); a missing or broken resource is a
  // fault of the build and ends the program with a message.
  static DialogTemplate load(const QString& resource);
};

}  // namespace tarvel
