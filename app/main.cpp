// tarvelinquistombrel: the desktop program.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/BackgroundJob.h"
#include "app/ListingApp.h"
#include "app/StartArguments.h"

int main(int argc, char** argv) {
  // Before Qt starts, which needs a display.
  if (const std::optional<int> answered = tarvel::answerWithoutWindow(argc, argv)) return *answered;
  int status = 0;
  {
    tarvel::ListingApp application(argc, argv);
    status = application.initInstance();
  }
  // Work the window stopped as it closed ends on its own, soon. It gets a moment; what still
  // runs then (a disk that does not answer) ends with the process, before the static objects
  // it may use go.
  if (!tarvel::BackgroundJob::waitForAllWork(std::chrono::milliseconds(100))) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
  return status;
}
