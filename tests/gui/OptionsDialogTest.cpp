#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>

#include "app/ControlIds.h"
#include "app/FormatOptionsDialog.h"
#include "tests/gui/GuiTestSupport.h"

namespace tarvel {

namespace {

// The checked controls among the dialog's check boxes and radio buttons, by id.
std::vector<int> checkedIds(const FormatOptionsDialog& dialog) {
  std::vector<int> ids;
  for (const int id : {kRemoveExtension, kCapitalize, kHeader, kSeparatorCheck, kJukebox, kFooter,
                       kNoPath, kRelativePath, kAbsolutePath, kApplyPathToFiles, kTreeStyle,
                       kAfterName, kAfterAll, kAfterNonEmpty, kFileSize}) {
    if (qobject_cast<QAbstractButton*>(dialog.control(id))->isChecked()) ids.push_back(id);
  }
  return ids;
}

QString separatorField(const FormatOptionsDialog& dialog) {
  return qobject_cast<QLineEdit*>(dialog.control(kSeparatorEdit))->text();
}

// Opens the options dialog from the window, runs `steps` in it, and says how it looked first.
class OptionsDialogTest : public WindowTest {
 protected:
  void openOptions(const std::function<void(FormatOptionsDialog&)>& steps) {
    whenModalShows([steps](QWidget* shown) { steps(*qobject_cast<FormatOptionsDialog*>(shown)); });
    click(control(kFormatOptions));
  }
};

TEST_F(OptionsDialogTest, OpensWithTheStartUpValuesAndCancelChangesNothing) {
  openOptions([](FormatOptionsDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Options");
    EXPECT_EQ(checkedIds(dialog), (std::vector<int>{kCapitalize, kSeparatorCheck, kNoPath,
                                                    kTreeStyle, kAfterNonEmpty}));
    EXPECT_EQ(separatorField(dialog), "%-/");
    for (const int id : {kRemoveExtension, kHeader, kFooter, kJukebox, kAbsolutePath, kAfterAll,
                         kFileSize, kApplyPathToFiles, kSeparatorCheck}) {
      click(dialog.control(id));
    }
    click(dialog.control(kCancel));
  });
  EXPECT_EQ(window->options(), ListingOptions{});
}

TEST_F(OptionsDialogTest, OkWritesBackAndTheHigherRadioWins) {
  openOptions([](FormatOptionsDialog& dialog) {
    click(dialog.control(kOk));  // no change: the same values come back
  });
  EXPECT_EQ(window->options(), ListingOptions{});
  openOptions([](FormatOptionsDialog& dialog) {
    click(dialog.control(kRelativePath));
    click(dialog.control(kAfterName));
    click(dialog.control(kHeader));
    qobject_cast<QLineEdit*>(dialog.control(kSeparatorEdit))->setText("=");
    // Two checked in a row at once (set by code, as no click can): the higher value wins.
    qobject_cast<QAbstractButton*>(dialog.control(kAfterAll))->setChecked(true);
    click(dialog.control(kOk));
  });
  EXPECT_EQ(window->options().pathMode, PathMode::RelativePath);
  EXPECT_EQ(window->options().separatorPlacement, SeparatorPlacement::AfterAllDirectories);
  EXPECT_TRUE(window->options().includeHeader);
  EXPECT_EQ(window->options().separatorText, "=");
}

TEST_F(OptionsDialogTest, HandlersKeepTheRowsAndTheJukeboxConsistent) {
  openOptions([](FormatOptionsDialog& dialog) {
    click(dialog.control(kJukebox));
    click(dialog.control(kRelativePath));  // unchecks the jukebox box and "Pas de chemin"
    auto checked = checkedIds(dialog);
    EXPECT_EQ(std::count(checked.begin(), checked.end(), kJukebox), 0);
    EXPECT_EQ(std::count(checked.begin(), checked.end(), kNoPath), 0);
    EXPECT_EQ(std::count(checked.begin(), checked.end(), kRelativePath), 1);

    click(dialog.control(kJukebox));  // checking it selects "Pas de chemin"
    click(dialog.control(kAbsolutePath));
    click(dialog.control(kJukebox));  // so does unchecking it (it was unchecked again above)
    checked = checkedIds(dialog);
    EXPECT_EQ(std::count(checked.begin(), checked.end(), kNoPath), 1);
    EXPECT_EQ(std::count(checked.begin(), checked.end(), kAbsolutePath), 0);

    click(dialog.control(kNoPath));  // a click on the checked radio leaves it checked
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(dialog.control(kNoPath))->isChecked());
    click(dialog.control(kAfterAll));
    click(dialog.control(kAfterName));
    checked = checkedIds(dialog);
    EXPECT_EQ(std::count(checked.begin(), checked.end(), kAfterName), 1);
    EXPECT_EQ(std::count(checked.begin(), checked.end(), kAfterAll), 0);
    EXPECT_EQ(std::count(checked.begin(), checked.end(), kAfterNonEmpty), 0);
    click(dialog.control(kCancel));
  });
}

TEST_F(OptionsDialogTest, TheSeparatorBoxAndTheDefaultsQuirk) {
  openOptions([](FormatOptionsDialog& dialog) {
    click(dialog.control(kSeparatorCheck));
    for (const int id : {kSeparatorEdit, kAfterName, kAfterAll, kAfterNonEmpty}) {
      EXPECT_FALSE(dialog.control(id)->isEnabled()) << id;
    }
    click(dialog.control(kHeader));
    click(dialog.control(kDefaults));
    EXPECT_EQ(checkedIds(dialog), (std::vector<int>{kCapitalize, kSeparatorCheck, kNoPath,
                                                    kTreeStyle, kAfterNonEmpty}));
    EXPECT_EQ(separatorField(dialog), "%-/");
    EXPECT_TRUE(dialog.control(kSeparatorEdit)->isEnabled());
    EXPECT_FALSE(dialog.control(kAfterNonEmpty)->isEnabled());  // until the box is clicked twice
    click(dialog.control(kSeparatorCheck));
    click(dialog.control(kSeparatorCheck));
    EXPECT_TRUE(dialog.control(kAfterNonEmpty)->isEnabled());
    click(dialog.control(kOk));
  });
  EXPECT_EQ(window->options(), ListingOptions{});

  // Opened with the separator off: the field is disabled, the placement radios are not.
  openOptions([](FormatOptionsDialog& dialog) {
    click(dialog.control(kSeparatorCheck));
    click(dialog.control(kOk));
  });
  openOptions([](FormatOptionsDialog& dialog) {
    EXPECT_FALSE(dialog.control(kSeparatorEdit)->isEnabled());
    EXPECT_TRUE(dialog.control(kAfterName)->isEnabled());
    click(dialog.control(kCancel));
  });
  EXPECT_FALSE(window->options().separatorOn);
}

}  // namespace

}  // namespace tarvel
