#include <gtest/gtest.h>

#include <QLineEdit>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlIds.h"
#include "app/FormatOptionsDialog.h"
#include "app/FormatOptionsForm.h"
#include "tests/gui/GuiTestSupport.h"

namespace tarvel {

namespace {

using Form = FormatOptionsForm;

// A click as the dialog takes it: a check box toggles, a radio button checks, then the rule runs.
struct Click {
  int id;
  int Form::*control;    // null for "Par défaut", which reads nothing
  void (Form::*rule)();  // null for a radio button: the rule of every radio runs
  bool radio;
};
const Click jukeboxBox{kJukebox, &Form::jukeboxMode, &Form::onJukeboxCheck, false};
const Click separatorBox{kSeparatorCheck, &Form::separatorOn, &Form::onSeparatorCheck, false};
const Click noPath{kNoPath, &Form::noPathRadio, nullptr, true};
const Click relative{kRelativePath, &Form::relativePathRadio, nullptr, true};
const Click absolute{kAbsolutePath, &Form::absolutePathRadio, nullptr, true};
const Click afterName{kAfterName, &Form::afterNameRadio, nullptr, true};
const Click afterAll{kAfterAll, &Form::afterAllRadio, nullptr, true};
const Click afterNonEmpty{kAfterNonEmpty, &Form::afterNonEmptyRadio, nullptr, true};
const Click defaults{kDefaults, nullptr, &Form::onDefaults, false};

// The checked boxes and radios of the rows with rules, and the controls that take no input.
std::string shown(const Form& f) {
  const std::pair<bool, const char*> parts[] = {
      {f.jukeboxMode != 0, " jukebox"},     {f.noPathRadio == 0, " none"},
      {f.relativePathRadio == 0, " rel"},   {f.absolutePathRadio == 0, " abs"},
      {f.afterNameRadio == 0, " name"},     {f.afterAllRadio == 0, " all"},
      {f.afterNonEmptyRadio == 0, " full"}, {f.separatorOn != 0, " sep"},
      {!f.separatorEditEnabled, " -field"}, {!f.placementEnabled, " -radios"}};
  std::string text;
  for (const auto& [on, name] : parts)
    if (on) text += name;
  return text.erase(0, 1);
}

// Every value the dialog edits changed from the start-up one, as clicks can leave them.
ListingOptions changed() {
  ListingOptions o;
  o.includeHeader = o.includeFooter = o.removeExtension = o.applyPathOptionsToFiles = true;
  o.capitalizeNames = o.treeStyle = o.separatorOn = false;
  o.includeFileSize = true;
  o.separatorText = "=";
  o.separatorPlacement = SeparatorPlacement::AfterAllDirectories;
  o.pathMode = PathMode::RelativePath;
  return o;
}
const ListingOptions kChanged = changed();

const struct RuleCase {
  const char* fault;
  ListingOptions start;
  std::vector<Click> clicks;
  const char* expected;
} kRules[] = {
    {"wrong start-up values", {}, {}, "none full sep"},
    {"relative path keeps the jukebox", {}, {jukeboxBox, relative}, "rel full sep"},
    {"absolute path keeps another", {}, {relative, absolute}, "abs full sep"},
    {"absolute path keeps the jukebox", {}, {jukeboxBox, absolute}, "abs full sep"},
    {"a placement radio ends the jukebox", {}, {jukeboxBox, afterName}, "jukebox none name sep"},
    {"no path keeps another", {}, {absolute, noPath}, "none full sep"},
    {"the jukebox box keeps another path", {}, {absolute, jukeboxBox}, "jukebox none full sep"},
    {"after the name keeps another", {}, {afterName}, "none name sep"},
    {"after all keeps another", {}, {afterAll}, "none all sep"},
    {"after non-empty keeps another", {}, {afterAll, afterNonEmpty}, "none full sep"},
    {"unchecking the separator leaves it on", {}, {separatorBox}, "none full -field -radios"},
    {"checking it again leaves it off", {}, {separatorBox, separatorBox}, "none full sep"},
    {"opened with the separator off, the field takes input", kChanged, {}, "rel all -field"},
    {"the defaults miss a value or turn the radios on",
     kChanged,
     {separatorBox, separatorBox, defaults},
     "none full sep -radios"},
};

TEST(FormatOptionsForm, EveryRuleLeavesOneCheckedInARow) {
  for (const RuleCase& c : kRules) {
    Form form = Form::fromOptions(c.start);
    for (const Click& click : c.clicks) {
      if (click.control != nullptr) form.*click.control = click.radio ? 0 : 1 - form.*click.control;
      click.radio ? form.onRadio(click.control) : (form.*click.rule)();
    }
    EXPECT_EQ(shown(form), c.expected) << c.fault;
  }
}

// OK writes back every value the dialog shows, and the dialog reopens on it showing it again.
TEST(FormatOptionsForm, EveryOptionGoesBetweenTheWindowAndTheDialog) {
  ListingOptions other = kChanged;
  other.jukeboxMode = true;
  other.pathMode = PathMode::AbsolutePath;
  other.separatorPlacement = SeparatorPlacement::AfterDirectoryName;
  for (const ListingOptions& options : {ListingOptions{}, kChanged, other}) {
    ListingOptions written = options == ListingOptions{} ? kChanged : ListingOptions{};
    Form::fromOptions(options).applyTo(written);
    EXPECT_EQ(written, options);
  }
}

// What the dialog's controls show, which of them take input included.
std::string shownBy(FormatOptionsDialog& dialog) {
  dialog.updateData(true);
  dialog.form.separatorEditEnabled = dialog.control(kSeparatorEdit)->isEnabled();
  dialog.form.placementEnabled = dialog.control(kAfterAll)->isEnabled();
  return shown(dialog.form);
}

// The rules are checked on the form alone; the real dialog shows that its clicks reach them and
// that it shows what they decide, that OK brings it all to the window and Cancel nothing.
TEST_F(WindowTest, AnOptionsDialogClickIsKeptByOkAndDroppedByCancel) {
  const auto inDialog = [this](const std::function<void(FormatOptionsDialog&)>& steps) {
    whenModalShows([steps](QWidget* shown) { steps(*qobject_cast<FormatOptionsDialog*>(shown)); });
    click(control(kFormatOptions));
  };
  for (const RuleCase& c : kRules) {
    if (!(c.start == ListingOptions{})) continue;
    inDialog([&c](FormatOptionsDialog& dialog) {
      for (const Click& step : c.clicks) click(dialog.control(step.id));
      EXPECT_EQ(shownBy(dialog), c.expected) << c.fault;
      click(dialog.control(kCancel));
    });
  }
  EXPECT_EQ(window->options(), ListingOptions{});
  inDialog([](FormatOptionsDialog& dialog) {
    for (const int id : {kRemoveExtension, kCapitalize, kHeader, kFooter, kApplyPathToFiles,
                         kTreeStyle, kFileSize, kRelativePath, kAfterAll, kSeparatorCheck})
      click(dialog.control(id));
    qobject_cast<QLineEdit*>(dialog.control(kSeparatorEdit))->setText("=");
    click(dialog.control(kOk));
  });
  EXPECT_EQ(window->options(), kChanged);
  inDialog([](FormatOptionsDialog& dialog) {
    EXPECT_EQ(shownBy(dialog), "rel all -field");
    click(dialog.control(kDefaults));
    EXPECT_EQ(shownBy(dialog), "none full sep");
    click(dialog.control(kCancel));
  });
  EXPECT_EQ(window->options(), kChanged);
}

}  // namespace

}  // namespace tarvel
