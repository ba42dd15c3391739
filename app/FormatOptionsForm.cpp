#include "app/FormatOptionsForm.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tarvel {

namespace {

using Form = FormatOptionsForm;
// A row of radio buttons, in the order of the values it chooses between: 1, 2 and 3.
using RadioRow = std::array<int Form::*, 3>;
constexpr RadioRow kPathRow = {&Form::noPathRadio, &Form::relativePathRadio,
                               &Form::absolutePathRadio};
constexpr RadioRow kPlacementRow = {&Form::afterNameRadio, &Form::afterAllRadio,
                                    &Form::afterNonEmptyRadio};

int flag(bool value) {
  return value ? 1 : 0;
}

// Checks the radio of `value` in `row`; the first for a value not in it.
void check(Form& form, const RadioRow& row, int value) {
  form.*row[value == 2 || value == 3 ? value - 1 : 0] = 0;
}

// The value of the radio checked in `row`: the higher of two checked, the first's when none is.
int checkedValue(const Form& form, const RadioRow& row) {
  for (std::size_t i = row.size() - 1; i > 0; --i) {
    if (form.*row[i] == 0) return static_cast<int>(i) + 1;
  }
  return 1;
}

}  // namespace

FormatOptionsForm FormatOptionsForm::fromOptions(const ListingOptions& options) {
  FormatOptionsForm form;
  form.separatorOn = flag(options.separatorOn);
  form.includeFooter = flag(options.includeFooter);
  form.includeHeader = flag(options.includeHeader);
  form.removeExtension = flag(options.removeExtension);
  form.jukeboxMode = flag(options.jukeboxMode);
  form.capitalizeNames = flag(options.capitalizeNames);
  form.applyPathOptionsToFiles = flag(options.applyPathOptionsToFiles);
  form.treeStyle = flag(options.treeStyle);
  form.includeFileSize = flag(options.includeFileSize);
  form.separatorText = options.separatorText;
  check(form, kPathRow, static_cast<int>(options.pathMode));
  check(form, kPlacementRow, static_cast<int>(options.separatorPlacement));
  form.separatorEditEnabled = options.separatorOn;
  return form;
}

void FormatOptionsForm::applyTo(ListingOptions& options) const {
  options.separatorOn = separatorOn != 0;
  options.includeFooter = includeFooter != 0;
  options.includeHeader = includeHeader != 0;
  options.removeExtension = removeExtension != 0;
  options.jukeboxMode = jukeboxMode != 0;
  options.capitalizeNames = capitalizeNames != 0;
  options.applyPathOptionsToFiles = applyPathOptionsToFiles != 0;
  options.treeStyle = treeStyle != 0;
  options.includeFileSize = includeFileSize != 0;
  options.separatorText = separatorText;
  options.pathMode = static_cast<PathMode>(checkedValue(*this, kPathRow));
  options.separatorPlacement = static_cast<SeparatorPlacement>(checkedValue(*this, kPlacementRow));
}

void FormatOptionsForm::onSeparatorCheck() {
  separatorEditEnabled = placementEnabled = separatorOn != 0;
}

void FormatOptionsForm::onRadio(int FormatOptionsForm::*clicked) {
  for (const RadioRow& row : {kPathRow, kPlacementRow}) {
    if (std::ranges::find(row, clicked) == row.end()) continue;
    for (int Form::*radio : row) {
      if (radio != clicked) this->*radio = 1;
    }
  }
  // A path given to names ends the jukebox form.
  if (clicked == &Form::relativePathRadio || clicked == &Form::absolutePathRadio) jukeboxMode = 0;
}

void FormatOptionsForm::onJukeboxCheck() {
  // Checking and unchecking alike: the jukebox form goes with names only.
  noPathRadio = 0;
  absolutePathRadio = relativePathRadio = 1;
}

void FormatOptionsForm::onDefaults() {
  // The start-up values. Only the field is enabled again: placement radios that unchecking the
  // separator box disabled stay so until the box is clicked again.
  const bool placement = placementEnabled;
  *this = fromOptions(ListingOptions{});
  placementEnabled = placement;
}

}  // namespace tarvel
