#include "platform/SaveInterruption.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>

namespace tarvel {

namespace {

// The signals sent from outside (a terminal, a timer, a system about to stop) that end a program
// by default. Those the program's own faults raise (SEGV, BUS, ...) are left alone: a program
// that caused one must not go on writing.
constexpr int kSignals[] = {SIGHUP,   SIGINT,  SIGQUIT,   SIGTERM, SIGUSR1, SIGUSR2, SIGALRM,
                            SIGPIPE,  SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,
#ifdef SIGSTKFLT
                            SIGSTKFLT
#endif
};

enum Mode : int { kEndAtOnce, kDefer, kRemoveFile };

// Only lock-free atomics and plain buffers may be touched from a signal handler.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> gMode{kEndAtOnce};
std::atomic<int> gPending{0};
int gFolder = -1;
char gName[NAME_MAX + 1];

// Async-signal-safe calls only: unlinkat, signal and raise.
void onSignal(int signal) {
  const int mode = gMode.load();
  if (mode == kDefer) {
    gPending.store(signal);
    return;
  }
  if (mode == kRemoveFile) ::unlinkat(gFolder, gName, 0);
  // The default action, raised again once this handler returns, ends the program by the signal.
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void takePending() {
  if (const int signal = gPending.exchange(0); signal != 0) onSignal(signal);
}

}  // namespace

SaveInterruption::SaveInterruption() {
  struct sigaction action {};
  action.sa_handler = onSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
  for (const int signal : kSignals) {
    // An ignored signal stays ignored (a background job), and a program's own handler is its own.
    struct sigaction previous {};
    if (::sigaction(signal, nullptr, &previous) != 0) continue;
    if ((previous.sa_flags & SA_SIGINFO) != 0 || previous.sa_handler != SIG_DFL) continue;
    if (::sigaction(signal, &action, nullptr) == 0) replaced_.push_back({signal, previous});
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGXFSZ, &ignore, &fileSizeAction_);
}

SaveInterruption::~SaveInterruption() {
  gMode.store(kEndAtOnce);
  ::sigaction(SIGXFSZ, &fileSizeAction_, nullptr);
  for (const auto& [signal, previous] : replaced_) ::sigaction(signal, &previous, nullptr);
  if (const int signal = gPending.exchange(0); signal != 0) ::raise(signal);
}

void SaveInterruption::defer() {
  gMode.store(kDefer);
}

void SaveInterruption::removeOnSignal(int folder, const std::string& name) {
  // Deferred while the name is copied: the handler reads it only once armed.
  gMode.store(kDefer);
  const std::size_t length = std::min(name.size(), sizeof gName - 1);
  std::memcpy(gName, name.data(), length);
  gName[length] = '\0';
  gFolder = folder;
  gMode.store(kRemoveFile);
  takePending();
}

}  // namespace tarvel
