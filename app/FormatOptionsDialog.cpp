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
  connect(qobject_cast<QAbstractButton*>(control(kOk)), &QAbstractButton::clicked, this,
          &FormatOptionsDialog::accept);
  connect(qobject_cast<QAbstractButton*>(control(kCancel)), &QAbstractButton::clicked, this,
          &FormatOptionsDialog::reject);
  onClicked(kSeparatorCheck, &FormatOptionsForm::onSeparatorCheck);
  onClicked(kNoPath, &FormatOptionsForm::onNoPath);
  onClicked(kRelativePath, &FormatOptionsForm::onRelativePath);
  onClicked(kAbsolutePath, &FormatOptionsForm::onAbsolutePath);
  onClicked(kDefaults, &FormatOptionsForm::onDefaults, false);
  onClicked(kAfterName, &FormatOptionsForm::onAfterDirectoryName);
  onClicked(kAfterAll, &FormatOptionsForm::onAfterAllDirectories);
  onClicked(kAfterNonEmpty, &FormatOptionsForm::onAfterNonEmptyDirectory);
  onClicked(kJukebox, &FormatOptionsForm::onJukeboxCheck);
}

void FormatOptionsDialog::onClicked(int id, void (FormatOptionsForm::*rule)(), bool readFirst) {
  // Clicks only: a control changed in code must not set off another rule.
  connect(qobject_cast<QAbstractButton*>(control(id)), &QAbstractButton::clicked, this,
          [this, rule, readFirst] {
            if (readFirst) updateData(true);
            (form.*rule)();
            showEnabledControls();
            updateData(false);
          });
}

void FormatOptionsDialog::updateData(bool save) {
  exchangeCheck(control(kSeparatorCheck), save, form.separatorOn);
  exchangeCheck(control(kFooter), save, form.includeFooter);
  exchangeCheck(control(kHeader), save, form.includeHeader);
  exchangeCheck(control(kRemoveExtension), save, form.removeExtension);
  exchangeCheck(control(kJukebox), save, form.jukeboxMode);
  exchangeCheck(control(kCapitalize), save, form.capitalizeNames);
  exchangeRadio(control(kAbsolutePath), save, form.absolutePathRadio);
  exchangeRadio(control(kNoPath), save, form.noPathRadio);
  exchangeRadio(control(kRelativePath), save, form.relativePathRadio);
  exchangeText(control(kSeparatorEdit), save, form.separatorText);
  exchangeCheck(control(kApplyPathToFiles), save, form.applyPathOptionsToFiles);
  exchangeCheck(control(kTreeStyle), save, form.treeStyle);
  exchangeRadio(control(kAfterAll), save, form.afterAllRadio);
  exchangeRadio(control(kAfterName), save, form.afterNameRadio);
  exchangeRadio(control(kAfterNonEmpty), save, form.afterNonEmptyRadio);
  exchangeCheck(control(kFileSize), save, form.includeFileSize);
}

void FormatOptionsDialog::showEnabledControls() {
  control(kSeparatorEdit)->setEnabled(form.separatorEditEnabled);
  for (const int id : {kAfterAll, kAfterName, kAfterNonEmpty}) {
    control(id)->setEnabled(form.placementEnabled);
  }
}

int FormatOptionsDialog::exec() {
  showEnabledControls();
  updateData(false);
  return QDialog::exec();
}

void FormatOptionsDialog::accept() {
  updateData(true);
  QDialog::accept();
}

}  // namespace tarvel
