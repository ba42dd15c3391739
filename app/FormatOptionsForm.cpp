#include "app/FormatOptionsForm.h"

namespace tarvel {

namespace {

int flag(bool value) {
  return value ? 1 : 0;
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
  if (options.pathMode == PathMode::AbsolutePath) {
    form.absolutePathRadio = 0;
  } else if (options.pathMode == PathMode::RelativePath) {
    form.relativePathRadio = 0;
  } else {
    form.noPathRadio = 0;
  }
  if (options.separatorPlacement == SeparatorPlacement::AfterNonEmptyDirectory) {
    form.afterNonEmptyRadio = 0;
  } else if (options.separatorPlacement == SeparatorPlacement::AfterAllDirectories) {
    form.afterAllRadio = 0;
  } else {
    form.afterNameRadio = 0;
  }
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
  options.pathMode = absolutePathRadio == 0   ? PathMode::AbsolutePath
                     : relativePathRadio == 0 ? PathMode::RelativePath
                                              : PathMode::NoPath;
  options.separatorPlacement = afterNonEmptyRadio == 0 ? SeparatorPlacement::AfterNonEmptyDirectory
                               : afterAllRadio == 0    ? SeparatorPlacement::AfterAllDirectories
                                                       : SeparatorPlacement::AfterDirectoryName;
}

void FormatOptionsForm::onSeparatorCheck() {
  separatorEditEnabled = placementEnabled = separatorOn != 0;
}

void FormatOptionsForm::onNoPath() {
  absolutePathRadio = relativePathRadio = 1;
}

void FormatOptionsForm::onRelativePath() {
  jukeboxMode = 0;
  absolutePathRadio = noPathRadio = 1;
}

void FormatOptionsForm::onAbsolutePath() {
  jukeboxMode = 0;
  noPathRadio = relativePathRadio = 1;
}

void FormatOptionsForm::onAfterDirectoryName() {
  afterAllRadio = afterNonEmptyRadio = 1;
}

void FormatOptionsForm::onAfterAllDirectories() {
  afterNameRadio = afterNonEmptyRadio = 1;
}

void FormatOptionsForm::onAfterNonEmptyDirectory() {
  afterNameRadio = afterAllRadio = 1;
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
