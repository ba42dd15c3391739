#pragma once

#include <QByteArray>
#include <array>

namespace tarvel {

// Qt reads the system's locale from the environment once, while the application object is
// made, and the save dialog shows file dates and sizes in it ("4,88 Kio"). To have them French
// whatever the user's language, made before the application object (as its first base), this
// names a French locale for dates, numbers and messages for that moment only; Qt has its own
// data for it. `restore` then puts the environment back and sets the C library's locale from it
// again: the French name may not exist there, and the application object's attempt to use it
// leaves the plain "C" locale.
class FrenchSystemLocale {
 public:
  FrenchSystemLocale();
  void restore();

 private:
  struct Saved {
    const char* name;
    QByteArray value;
    bool set;
  };
  std::array<Saved, 4> saved_;
};

}  // namespace tarvel
