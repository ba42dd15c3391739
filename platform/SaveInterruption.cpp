#include "platform/SaveInterruption.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>

namespace tarvel {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

enum Mode : int { kEndAtOnce, kDefer, kRemoveTemporary };

// Only lock-free atomics and plain buffers may be touched from a signal handler.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> gMode{kEndAtOnce};
std::atomic<int> gPending{0};
char gTemporary[PATH_MAX];

// Async-signal-safe calls only: unlink, signal and raise.
void onSignal(int signal) {
  const int mode = gMode.load();
  if (mode == kDefer) {
    gPending.store(signal);
    return;
  }
  if (mode == kRemoveTemporary) ::unlink(gTemporary);
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
}

SaveInterruption::~SaveInterruption() {
  gMode.store(kEndAtOnce);
  for (const auto& [signal, previous] : replaced_) ::sigaction(signal, &previous, nullptr);
  if (const int signal = gPending.exchange(0); signal != 0) ::raise(signal);
}

void SaveInterruption::defer() {
  gMode.store(kDefer);
}

void SaveInterruption::removeOnSignal(const std::string& temporary) {
  // Deferred while the name is copied: the handler reads the buffer only once armed.
  gMode.store(kDefer);
  const std::size_t length = std::min(temporary.size(), sizeof gTemporary - 1);
  std::memcpy(gTemporary, temporary.data(), length);
  gTemporary[length] = '\0';
  gMode.store(kRemoveTemporary);
  takePending();
}

void SaveInterruption::endAtOnce() {
  gMode.store(kEndAtOnce);
  takePending();
}

}  // namespace tarvel
