#include "app/FormatOptionsDialog.h"

#include <QAbstractButton>
#include <utility>

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
  onClicked(kDefaults, &FormatOptionsForm::onDefaults, false);
  onClicked(kJukebox, &FormatOptionsForm::onJukeboxCheck);
  using Form = FormatOptionsForm;
  for (const auto& [id, radio] : {std::pair{kNoPath, &Form::noPathRadio},
                                  {kRelativePath, &Form::relativePathRadio},
                                  {kAbsolutePath, &Form::absolutePathRadio},
                                  {kAfterName, &Form::afterNameRadio},
                                  {kAfterAll, &Form::afterAllRadio},
                                  {kAfterNonEmpty, &Form::afterNonEmptyRadio}})
    onClicked(id, [clicked = radio](Form& shown) { shown.onRadio(clicked); });
}

void FormatOptionsDialog::onClicked(int id, std::function<void(FormatOptionsForm&)> rule,
                                    bool readFirst) {
  // Clicks only: a control changed in code must not set off another rule.
  connect(qobject_cast<QAbstractButton*>(control(id)), &QAbstractButton::clicked, this,
          [this, rule = std::move(rule), readFirst] {
            if (readFirst) updateData(true);
            rule(form);
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
