// The window tests drive the real windows with clicks and keys: offscreen, unless a platform
// is named (QT_QPA_PLATFORM=xcb under a real X server).
#include <gtest/gtest.h>

#include <QApplication>

#include <chrono>
#include <string_view>

#include "app/BackgroundJob.h"
#include "app/ListingApp.h"
#include "tests/gui/GuiTestSupport.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "C.UTF-8");  // the window speaks French whatever language the user has
  if (argc == 4 && std::string_view(argv[1]) == "--run-session") {
    const int status = tarvel::runScriptedSession(argc, argv);
    // The work stopped as the window closed ends on its own, and soon.
    return tarvel::BackgroundJob::waitForAllWork(std::chrono::seconds(10)) ? status : 1;
  }
  if (argc >= 2 && std::string_view(argv[1]) == "--run-program")
    return tarvel::runStartedProgram(argc - 1, argv + 1);
  ::testing::InitGoogleTest(&argc, argv);
  tarvel::ListingApp application(argc, argv);
  return RUN_ALL_TESTS();
}
