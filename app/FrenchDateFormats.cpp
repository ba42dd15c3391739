#include "app/FrenchDateFormats.h"

#include <QtGlobal>
#include <clocale>

namespace tarvel {

namespace {

void putBack(const char* name, bool had, const QByteArray& value) {
  if (had) {
    qputenv(name, value);
  } else {
    qunsetenv(name);
  }
}

}  // namespace

FrenchDateFormats::FrenchDateFormats()
    : all_(qgetenv("LC_ALL")),
      time_(qgetenv("LC_TIME")),
      hadAll_(qEnvironmentVariableIsSet("LC_ALL")),
      hadTime_(qEnvironmentVariableIsSet("LC_TIME")) {
  qunsetenv("LC_ALL");  // it would stand for LC_TIME
  qputenv("LC_TIME", "fr_FR.UTF-8");
}

void FrenchDateFormats::restore() {
  putBack("LC_ALL", hadAll_, all_);
  putBack("LC_TIME", hadTime_, time_);
  std::setlocale(LC_ALL, "");
}

}  // namespace tarvel
