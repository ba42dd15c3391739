// The window tests drive the real windows with clicks and keys: offscreen, unless a platform
// is named (QT_QPA_PLATFORM=xcb under a real X server).
#include <gtest/gtest.h>

#include <QApplication>

#include <string_view>

#include "app/ListingApp.h"
#include "tests/gui/GuiTestSupport.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "C.UTF-8");  // the window speaks French whatever language the user has
  if (argc == 4 && std::string_view(argv[1]) == "--run-session")
    return tarvel::runScriptedSession(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  tarvel::ListingApp application(argc, argv);
  return RUN_ALL_TESTS();
}
