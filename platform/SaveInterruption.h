#pragma once

#include <csignal>
#include <string>
#include <vector>

namespace tarvel {

// Keeps SIGINT, SIGTERM and SIGHUP from leaving a save half done. While one lives, these
// signals (where they would end the program anyway) are caught: by default they end the
// program at once, as usual; while a temporary file is armed they remove it first; while
// deferred they wait, and end the program once the guard goes, so that a file being rewritten
// in place is never cut in the middle. Either way the program ends by the signal itself, with
// the status its caller expects. One save at a time per process: the state is static, since a
// signal handler can reach nothing else.
class SaveInterruption {
 public:
  SaveInterruption();
  ~SaveInterruption();
  SaveInterruption(const SaveInterruption&) = delete;
  SaveInterruption& operator=(const SaveInterruption&) = delete;

  // A signal from now on waits for the guard to go (or for the next change of mode).
  void defer();
  // A signal from now on removes `temporary`, then ends the program; one that waited ends it
  // now.
  void removeOnSignal(const std::string& temporary);
  // A signal from now on ends the program at once; one that waited ends it now.
  void endAtOnce();

 private:
  struct Replaced {
    int signal = 0;
    struct sigaction previous {};
  };
  std::vector<Replaced> replaced_;  // the actions this guard replaced, to put back
};

}  // namespace tarvel
