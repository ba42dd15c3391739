#include "app/FormatOptionsDialog.h"

#include <QAbstractButton>

#include "app/ControlIds.h"
#include "app/DataExchange.h"
#include "app/DialogBuilder.h"

namespace tarvel {

FormatOptionsDialog::FormatOptionsDialog(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  controls_ = DialogBuilder().build(DialogTemplate::load(":/dialogs/options.json"), this);
  onClicked(kOk, &FormatOptionsDialog::accept);
  onClicked(kCancel, &FormatOptionsDialog::reject);
  onClicked(kSeparatorCheck, &FormatOptionsDialog::onSeparatorCheck);
  onClicked(kNoPath, &FormatOptionsDialog::onNoPath);
  onClicked(kRelativePath, &FormatOptionsDialog::onRelativePath);
  onClicked(kAbsolutePath, &FormatOptionsDialog::onAbsolutePath);
  onClicked(kDefaults, &FormatOptionsDialog::onDefaults);
  onClicked(kAfterName, &FormatOptionsDialog::onAfterDirectoryName);
  onClicked(kAfterAll, &FormatOptionsDialog::onAfterAllDirectories);
  onClicked(kAfterNonEmpty, &FormatOptionsDialog::onAfterNonEmptyDirectory);
  onClicked(kJukebox, &FormatOptionsDialog::onJukeboxCheck);
}

void FormatOptionsDialog::onClicked(int id, void (FormatOptionsDialog::*handler)()) {
  // Clicks only: a handler that changes a control in code must not set off another handler.
  connect(qobject_cast<QAbstractButton*>(control(id)), &QAbstractButton::clicked, this,
          [this, handler] { (this->*handler)(); });
}

void FormatOptionsDialog::updateData(bool save) {
  exchangeCheck(control(kSeparatorCheck), save, separatorOn);
  exchangeCheck(control(kFooter), save, includeFooter);
  exchangeCheck(control(kHeader), save, includeHeader);
  exchangeCheck(control(kRemoveExtension), save, removeExtension);
  exchangeCheck(control(kJukebox), save, jukeboxMode);
  exchangeCheck(control(kCapitalize), save, capitalizeNames);
  exchangeRadio(control(kAbsolutePath), save, absolutePathRadio);
  exchangeRadio(control(kNoPath), save, noPathRadio);
  exchangeRadio(control(kRelativePath), save, relativePathRadio);
  exchangeText(control(kSeparatorEdit), save, separatorText);
  exchangeCheck(control(kApplyPathToFiles), save, applyPathOptionsToFiles);
  exchangeCheck(control(kTreeStyle), save, treeStyle);
  exchangeRadio(control(kAfterAll), save, afterAllRadio);
  exchangeRadio(control(kAfterName), save, afterNameRadio);
  exchangeRadio(control(kAfterNonEmpty), save, afterNonEmptyRadio);
  exchangeCheck(control(kFileSize), save, includeFileSize);
}

int FormatOptionsDialog::exec() {
  // The members are shown when the dialog opens; only the separator field follows its box.
  updateData(false);
  control(kSeparatorEdit)->setEnabled(separatorOn != 0);
  return QDialog::exec();
}

void FormatOptionsDialog::accept() {
  updateData(true);
  QDialog::accept();
}

void FormatOptionsDialog::setPlacementEnabled(bool enabled) {
  for (const int id : {kSeparatorEdit, kAfterAll, kAfterName, kAfterNonEmpty}) {
    control(id)->setEnabled(enabled);
  }
}

void FormatOptionsDialog::onSeparatorCheck() {
  updateData(true);
  setPlacementEnabled(separatorOn != 0);
}

void FormatOptionsDialog::onNoPath() {
  updateData(true);
  absolutePathRadio = 1;
  relativePathRadio = 1;
  updateData(false);
}

void FormatOptionsDialog::onRelativePath() {
  updateData(true);
  jukeboxMode = 0;
  absolutePathRadio = 1;
  noPathRadio = 1;
  updateData(false);
}

void FormatOptionsDialog::onAbsolutePath() {
  updateData(true);
  jukeboxMode = 0;
  noPathRadio = 1;
  relativePathRadio = 1;
  updateData(false);
}

void FormatOptionsDialog::onAfterDirectoryName() {
  updateData(true);
  afterAllRadio = 1;
  afterNonEmptyRadio = 1;
  updateData(false);
}

void FormatOptionsDialog::onAfterAllDirectories() {
  updateData(true);
  afterNameRadio = 1;
  afterNonEmptyRadio = 1;
  updateData(false);
}

void FormatOptionsDialog::onAfterNonEmptyDirectory() {
  updateData(true);
  afterNameRadio = 1;
  afterAllRadio = 1;
  updateData(false);
}

void FormatOptionsDialog::onJukeboxCheck() {
  // Checking and unchecking alike: the jukebox form goes with names only.
  updateData(true);
  noPathRadio = 0;
  absolutePathRadio = 1;
  relativePathRadio = 1;
  updateData(false);
}

void FormatOptionsDialog::onDefaults() {
  // The controls are not read first. Only the field is enabled again: placement radios that
  // unchecking the separator box disabled stay so until the box is clicked again.
  noPathRadio = 0;
  relativePathRadio = 1;
  absolutePathRadio = 1;
  removeExtension = 0;
  capitalizeNames = 1;
  separatorOn = 1;
  jukeboxMode = 0;
  includeFooter = 0;
  includeHeader = 0;
  treeStyle = 1;
  applyPathOptionsToFiles = 0;
  includeFileSize = 0;
  afterNonEmptyRadio = 0;
  afterNameRadio = 1;
  afterAllRadio = 1;
  control(kSeparatorEdit)->setEnabled(true);
  separatorText = QStringLiteral("%-/");
  updateData(false);
}

}  // namespace tarvel
