#include "app/DialogTemplate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tarvel {

namespace {

QRect rectFrom(const QJsonArray& values) {
  return {values.at(0).toInt(), values.at(1).toInt(), values.at(2).toInt(), values.at(3).toInt()};
}

}  // namespace

DialogTemplate DialogTemplate::load(const QString& resource) {
  DialogTemplate layout;
  QFile file(resource);
  // The layouts are built into the program: one missing or broken is a fault of the build, and
  // a window without its controls would only crash later, further from the cause.
  if (!file.open(QIODevice::ReadOnly)) qFatal("dialog layout %s is missing", qPrintable(resource));
  QJsonParseError error{};
  const QJsonObject root = QJsonDocument::fromJson(file.readAll(), &error).object();
  if (error.error != QJsonParseError::NoError || root.value("controls").toArray().isEmpty()) {
    qFatal("dialog layout %s is broken: %s", qPrintable(resource), qPrintable(error.errorString()));
  }
  layout.caption = root.value("caption").toString();
  const QJsonArray size = root.value("size").toArray();
  layout.size = QSize(size.at(0).toInt(), size.at(1).toInt());
  for (const QJsonValue value : root.value("controls").toArray()) {
    const QJsonObject control = value.toObject();
    ControlTemplate entry;
    entry.id = control.value("id").toInt();
    entry.kind = control.value("kind").toString();
    entry.text = control.value("text").toString();
    entry.rect = rectFrom(control.value("rect").toArray());
    entry.labelFor = control.value("for").toInt();
    entry.name = control.value("name").toString();
    for (const QJsonValue flag : control.value("flags").toArray()) entry.flags << flag.toString();
    layout.controls.push_back(entry);
  }
  return layout;
}

}  // namespace tarvel
