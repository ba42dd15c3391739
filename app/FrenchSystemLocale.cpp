#include "app/FrenchSystemLocale.h"

#include <QtGlobal>
#include <clocale>

namespace tarvel {

namespace {

// LC_ALL would stand for every other; LC_MESSAGES names the language of the units' names.
constexpr const char* kVariables[] = {"LC_ALL", "LC_TIME", "LC_NUMERIC", "LC_MESSAGES"};

}  // namespace

FrenchSystemLocale::FrenchSystemLocale() {
  for (std::size_t i = 0; i < saved_.size(); ++i) {
    const char* name = kVariables[i];
    saved_[i] = {name, qgetenv(name), qEnvironmentVariableIsSet(name)};
    if (i == 0) {
      qunsetenv(name);
    } else {
      qputenv(name, "fr_FR.UTF-8");
    }
  }
}

void FrenchSystemLocale::restore() {
  for (const Saved& variable : saved_) {
    if (variable.set) {
      qputenv(variable.name, variable.value);
    } else {
      qunsetenv(variable.name);
    }
  }
  std::setlocale(LC_ALL, "");
}

}  // namespace tarvel
