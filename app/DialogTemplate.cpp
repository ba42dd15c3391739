#include "app/DialogTemplate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QRect rectFrom(const QJsonArray& values) {
  return {values.at(0).toInt(), values.at(1).toInt(), values.at(2).toInt(), values.at(3).toInt()};
}

}  // namespace

DialogTemplate DialogTemplate::load(const QString& resource) {
  DialogTemplate layout;
  QFile file(resource);
  if (!file.open(QIODevice::ReadOnly)) {
    qWarning("dialog layout %s is missing", qPrintable(resource));
    return layout;
  }
  QJsonParseError error{};
  const QJsonObject root = QJsonDocument::fromJson(file.readAll(), &error).object();
  if (error.error != QJsonParseError::NoError) {
    qWarning("dialog layout %s: %s", qPrintable(resource), qPrintable(error.errorString()));
    return layout;
  }
  layout.id = root.value("id").toInt();
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
    for (const QJsonValue flag : control.value("flags").toArray()) entry.flags << flag.toString();
    layout.controls.push_back(entry);
  }
  return layout;
}
