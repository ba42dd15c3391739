// tarvelinquistombrel: the desktop program.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>

#include "app/BackgroundJob.h"
#include "app/ListingApp.h"
#include "app/StartArguments.h"
#include "platform/FailureCause.h"

int main(int argc, char** argv) {
  int status = 1;
  try {
    // Before Qt starts, which needs a display.
    if (const auto answered = tarvel::answerWithoutWindow(argc, argv)) return *answered;
    tarvel::ListingApp application(argc, argv);
    status = application.initInstance();
  } catch (const std::bad_alloc&) {
    // Nothing more is allocated to say it.
    std::fputs("tarvelinquistombrel: mémoire insuffisante\n", stderr);
  } catch (...) {
    std::fprintf(stderr, "tarvelinquistombrel: %s\n",
                 tarvel::failureCause(std::current_exception()).c_str());
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
