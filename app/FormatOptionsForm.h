#pragma once

#include <string>

#include "listing/ListingOptions.h"

namespace tarvel {

// What the formatting options dialog holds and the rules its buttons follow, apart from its
// widgets, so that they can be checked without a window. Check boxes hold 0 or 1; each radio
// button is a group of its own and holds 0 when checked and -1 (or 1) when not, and the
// handlers keep one checked per row of three.
struct FormatOptionsForm {
  int separatorOn = 0;
  int includeFooter = 0;
  int includeHeader = 0;
  int removeExtension = 0;
  int jukeboxMode = 0;
  int capitalizeNames = 0;
  int absolutePathRadio = -1;
  int noPathRadio = -1;
  int relativePathRadio = -1;
  std::string separatorText;
  int applyPathOptionsToFiles = 0;
  int treeStyle = 0;
  int afterAllRadio = -1;
  int afterNameRadio = -1;
  int afterNonEmptyRadio = -1;
  int includeFileSize = 0;
  // Which controls take input: the separator field, and the three placement radios.
  bool separatorEditEnabled = true;
  bool placementEnabled = true;

  // The form as the dialog opens on `options`: only the field follows the separator box.
  static FormatOptionsForm fromOptions(const ListingOptions& options);
  // What OK writes back. When two radios of a row are checked at once the higher value wins;
  // when none is, the first.
  void applyTo(ListingOptions& options) const;

  // Each runs after the controls were read into the form (but onDefaults, which reads nothing),
  // and the form is then shown.
  void onSeparatorCheck();
  // A radio button clicked: the others of its row are unchecked.
  void onRadio(int FormatOptionsForm::*clicked);
  void onJukeboxCheck();
  void onDefaults();

  bool operator==(const FormatOptionsForm&) const = default;
};

}  // namespace tarvel
