#pragma once

namespace tarvel {

// The ids of the controls the program refers to, as the layouts in resources/dialogs give them.

// The main window.
enum MainControlId : int {
  kQuit = 1,
  kTree = 1005,
  kUpdateSize = 1007,
  kAutoUpdateSize = 1008,
  kFolderSize = 1009,
  kExtraction = 1010,
  kIncludeSubfolders = 1030,
  kNoFiles = 1031,
  kFormatOptions = 1032,
  kNoFolders = 1039,
  kExtractTree = 1040,
  kCopy = 1041,
  kSaveAs = 1044,
  kProgress = 1045,
  kExtensionEdit = 1054,
  kExtensionCheck = 1055,
  kAbout = 1056,
  kPane = 1058,
  kHelp = 57670,
};

// The formatting options dialog.
enum OptionsControlId : int {
  kOk = 1,
  kCancel = 2,
  kRemoveExtension = 1018,
  kCapitalize = 1019,
  kHeader = 1020,
  kSeparatorCheck = 1021,
  kSeparatorEdit = 1022,
  kJukebox = 1027,
  kFooter = 1028,
  kDefaults = 1029,
  kNoPath = 1035,
  kRelativePath = 1037,
  kAbsolutePath = 1038,
  kApplyPathToFiles = 1047,
  kTreeStyle = 1048,
  kAfterName = 1050,
  kAfterAll = 1051,
  kAfterNonEmpty = 1052,
  kFileSize = 1053,
};

}  // namespace tarvel
