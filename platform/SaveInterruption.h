#pragma once

#include <csignal>
#include <string>
#include <vector>

namespace tarvel {

// Keeps a signal from leaving a save half done. While one lives, every asynchronous signal whose
// default action ends the program (HUP, INT, QUIT, TERM, USR1, USR2, ALRM, PIPE, XCPU, VTALRM,
// PROF, IO, PWR, STKFLT), where it would still end it, is caught: by default it ends the program
// at once, as usual; while a hidden file of the save is armed it removes that file first; while
// deferred it waits, and ends the program once the guard goes, so that a file being rewritten in
// place is never cut in the middle. Either way the program ends by the signal itself, with the
// status its caller expects. SIGXFSZ is ignored meanwhile, so that a write past the file-size
// limit fails (EFBIG) and the save can put things back. One save at a time per process: the
// state is static, since a signal handler can reach nothing else.
class SaveInterruption {
 public:
  SaveInterruption();
  ~SaveInterruption();
  SaveInterruption(const SaveInterruption&) = delete;
  SaveInterruption& operator=(const SaveInterruption&) = delete;

  // A signal from now on waits for the guard to go (or for the next change of mode).
  void defer();
  // A signal from now on removes the file `name` of the open folder `folder`, then ends the
  // program; one that waited does so now. The folder must stay open while armed.
  void removeOnSignal(int folder, const std::string& name);

 private:
  struct Replaced {
    int signal = 0;
    struct sigaction previous {};
  };
  std::vector<Replaced> replaced_;  // the actions this guard replaced, to put back
  struct sigaction fileSizeAction_ {};
};

}  // namespace tarvel
