#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/FormatOptionsForm.h"

namespace tarvel {

namespace {

using Rule = void (FormatOptionsForm::*)();

// A click as the dialog takes it: the control changes, then (but for "Par défaut") the rule runs
// on what the controls show.
struct Click {
  int FormatOptionsForm::*member;  // the clicked control's member; null for "Par défaut"
  Rule rule;
};

Click box(int FormatOptionsForm::*member, Rule rule = nullptr) {
  return {member, rule};
}

void apply(FormatOptionsForm& form, const Click& click) {
  if (click.member != nullptr) {
    int& value = form.*click.member;
    const bool isRadio = click.rule != nullptr &&
                         click.rule != &FormatOptionsForm::onJukeboxCheck &&
                         click.rule != &FormatOptionsForm::onSeparatorCheck;
    value = isRadio ? 0 : (value != 0 ? 0 : 1);
  }
  if (click.rule != nullptr) (form.*click.rule)();
}

const Click kJukebox = box(&FormatOptionsForm::jukeboxMode, &FormatOptionsForm::onJukeboxCheck);
const Click kNoPath = box(&FormatOptionsForm::noPathRadio, &FormatOptionsForm::onNoPath);
const Click kRelative =
    box(&FormatOptionsForm::relativePathRadio, &FormatOptionsForm::onRelativePath);
const Click kAbsolute =
    box(&FormatOptionsForm::absolutePathRadio, &FormatOptionsForm::onAbsolutePath);
const Click kAfterName =
    box(&FormatOptionsForm::afterNameRadio, &FormatOptionsForm::onAfterDirectoryName);
const Click kAfterAll =
    box(&FormatOptionsForm::afterAllRadio, &FormatOptionsForm::onAfterAllDirectories);
const Click kAfterNonEmpty =
    box(&FormatOptionsForm::afterNonEmptyRadio, &FormatOptionsForm::onAfterNonEmptyDirectory);
const Click kSeparator = box(&FormatOptionsForm::separatorOn, &FormatOptionsForm::onSeparatorCheck);
const Click kDefaults{nullptr, &FormatOptionsForm::onDefaults};

// Each row: the fault it guards, the options the dialog opens on, the clicks, what OK then changes
// in those options, and which controls then take input. Every row also checks that the dialog
// reopened on the result shows it again.
TEST(FormatOptionsForm, HandlersKeepRowsConsistentAndOkWritesBackWhatIsShown) {
  struct Case {
    const char* fault;
    std::function<void(ListingOptions&)> start;
    std::vector<Click> clicks;
    std::function<void(ListingOptions&)> expected;
    bool editEnabled = true;
    bool placementEnabled = true;
  };
  const auto none = [](ListingOptions&) {};
  const Case cases[] = {
      {"OK after no change alters an option", none, {}, none},
      {"a check box is not written back",
       none,
       {box(&FormatOptionsForm::includeHeader), box(&FormatOptionsForm::includeFooter),
        box(&FormatOptionsForm::removeExtension), box(&FormatOptionsForm::capitalizeNames),
        box(&FormatOptionsForm::treeStyle), box(&FormatOptionsForm::applyPathOptionsToFiles),
        box(&FormatOptionsForm::includeFileSize)},
       [](ListingOptions& o) {
         o.includeHeader = o.includeFooter = o.removeExtension = true;
         o.capitalizeNames = o.treeStyle = false;
         o.applyPathOptionsToFiles = o.includeFileSize = true;
       }},
      {"relative path leaves the jukebox box checked",
       none,
       {kJukebox, kRelative},
       [](ListingOptions& o) { o.pathMode = PathMode::RelativePath; }},
      {"absolute path leaves the jukebox box checked",
       [](ListingOptions& o) { o.jukeboxMode = true; },
       {kAbsolute},
       [](ListingOptions& o) {
         o.jukeboxMode = false;
         o.pathMode = PathMode::AbsolutePath;
       }},
      {"no path unchecks the jukebox box",
       [](ListingOptions& o) { o.jukeboxMode = true; },
       {kAbsolute, kJukebox, kNoPath},
       [](ListingOptions& o) { o.jukeboxMode = true; }},
      {"unchecking the jukebox box keeps another path",
       [](ListingOptions& o) {
         o.jukeboxMode = true;
         o.pathMode = PathMode::AbsolutePath;
       },
       {kJukebox},
       [](ListingOptions& o) {
         o.jukeboxMode = false;
         o.pathMode = PathMode::NoPath;
       }},
      {"a placement radio leaves another checked",
       none,
       {kAfterAll},
       [](ListingOptions& o) { o.separatorPlacement = SeparatorPlacement::AfterAllDirectories; }},
      {"after the name is lost",
       none,
       {kAfterAll, kAfterName},
       [](ListingOptions& o) { o.separatorPlacement = SeparatorPlacement::AfterDirectoryName; }},
      {"after non-empty is lost",
       [](ListingOptions& o) { o.separatorPlacement = SeparatorPlacement::AfterDirectoryName; },
       {kAfterNonEmpty},
       [](ListingOptions& o) {
         o.separatorPlacement = SeparatorPlacement::AfterNonEmptyDirectory;
       }},
      {"unchecking the separator leaves its controls enabled",
       none,
       {kSeparator},
       [](ListingOptions& o) { o.separatorOn = false; },
       false,
       false},
      {"the defaults do not restore everything, or re-enable the placement radios",
       [](ListingOptions& o) {
         o.includeHeader = o.jukeboxMode = o.includeFileSize = true;
         o.capitalizeNames = o.treeStyle = false;
         o.separatorText = "=";
         o.pathMode = PathMode::RelativePath;
       },
       {kSeparator, kAfterAll, kDefaults},
       [](ListingOptions& o) { o = ListingOptions{}; },
       true,
       false},
      {"opened with the separator off, the placement radios are disabled",
       [](ListingOptions& o) { o.separatorOn = false; },
       {},
       [](ListingOptions& o) { o.separatorOn = false; },
       false,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    ListingOptions start;
    c.start(start);
    FormatOptionsForm form = FormatOptionsForm::fromOptions(start);
    for (const Click& click : c.clicks) apply(form, click);
    ListingOptions result = start;
    form.applyTo(result);
    ListingOptions expected;
    c.start(expected);
    c.expected(expected);
    EXPECT_EQ(result, expected);
    EXPECT_EQ(form.separatorEditEnabled, c.editEnabled);
    EXPECT_EQ(form.placementEnabled, c.placementEnabled);
    ListingOptions reopened;
    FormatOptionsForm::fromOptions(result).applyTo(reopened);
    EXPECT_EQ(reopened, result);
  }
}

TEST(FormatOptionsForm, TwoRadiosOfARowCheckedAtOnceGiveTheHigherValueAndNoneTheFirst) {
  FormatOptionsForm form = FormatOptionsForm::fromOptions({});
  form.relativePathRadio = form.absolutePathRadio = 0;
  form.afterAllRadio = form.afterNameRadio = 0;
  form.afterNonEmptyRadio = -1;
  ListingOptions options;
  form.applyTo(options);
  EXPECT_EQ(options.pathMode, PathMode::AbsolutePath);
  EXPECT_EQ(options.separatorPlacement, SeparatorPlacement::AfterAllDirectories);
  form.absolutePathRadio = form.relativePathRadio = form.noPathRadio = 1;
  form.afterAllRadio = form.afterNameRadio = 1;
  form.applyTo(options);
  EXPECT_EQ(options.pathMode, PathMode::NoPath);
  EXPECT_EQ(options.separatorPlacement, SeparatorPlacement::AfterDirectoryName);
}

}  // namespace

}  // namespace tarvel
