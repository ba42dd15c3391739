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

// The rules themselves are checked on the form alone; this checks that the real dialog's clicks
// reach them, that it shows what they decide, and that OK brings it back to the window.
TEST_F(OptionsDialogTest, ClicksReachTheRulesAndOkWritesBackWhatReopeningShows) {
  openOptions([](FormatOptionsDialog& dialog) {
    click(dialog.control(kJukebox));
    click(dialog.control(kRelativePath));  // unchecks the jukebox box and "Pas de chemin"
    click(dialog.control(kAfterName));
    click(dialog.control(kHeader));
    click(dialog.control(kSeparatorCheck));
    for (const int id : {kSeparatorEdit, kAfterName, kAfterAll, kAfterNonEmpty}) {
      EXPECT_FALSE(dialog.control(id)->isEnabled()) << id;
    }
    click(dialog.control(kSeparatorCheck));
    qobject_cast<QLineEdit*>(dialog.control(kSeparatorEdit))->setText("=");
    EXPECT_EQ(checkedIds(dialog), (std::vector<int>{kCapitalize, kHeader, kSeparatorCheck,
                                                    kRelativePath, kTreeStyle, kAfterName}));
    click(dialog.control(kOk));
  });
  ListingOptions expected;
  expected.pathMode = PathMode::RelativePath;
  expected.separatorPlacement = SeparatorPlacement::AfterDirectoryName;
  expected.includeHeader = true;
  expected.separatorText = "=";
  EXPECT_EQ(window->options(), expected);
  openOptions([](FormatOptionsDialog& dialog) {
    EXPECT_EQ(checkedIds(dialog), (std::vector<int>{kCapitalize, kHeader, kSeparatorCheck,
                                                    kRelativePath, kTreeStyle, kAfterName}));
    EXPECT_EQ(separatorField(dialog), "=");
    click(dialog.control(kDefaults));
    EXPECT_EQ(checkedIds(dialog), (std::vector<int>{kCapitalize, kSeparatorCheck, kNoPath,
                                                    kTreeStyle, kAfterNonEmpty}));
    click(dialog.control(kOk));
  });
  EXPECT_EQ(window->options(), ListingOptions{});
}

}  // namespace

}  // namespace tarvel
