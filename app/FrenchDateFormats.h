#pragma once

#include <QByteArray>

namespace tarvel {

// Qt reads the system's date formats from the environment once, while the application object
// is made, and the save dialog shows file dates in them. To have them French whatever the
// user's language, made before the application object (as its first base), this names a French
// locale in LC_TIME for that moment only; Qt has its own data for it. `restore` then puts the
// environment back and sets the C library's locale from it again: the French name may not
// exist there, and the application object's attempt to use it leaves the plain "C" locale.
class FrenchDateFormats {
 public:
  FrenchDateFormats();
  void restore();

 private:
  QByteArray all_;
  QByteArray time_;
  bool hadAll_;
  bool hadTime_;
};

}  // namespace tarvel
