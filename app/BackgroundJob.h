#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <thread>

namespace tarvel {

// One piece of work at a time on a thread of its own, so that the window keeps painting and
// answering. Newer work replaces older: starting work, or `stop`, asks the work before it to
// stop and waits for it (work checks its stop token often, so that is quick), and only the
// latest work's `done` runs, on the thread of `receiver`, once the work is complete.
class BackgroundJob {
 public:
  explicit BackgroundJob(QObject* receiver) : receiver_(receiver) {}
  ~BackgroundJob() { stop(); }
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;

  void start(std::function<void(std::stop_token)> work, std::function<void()> done);
  void stop();
  // Started and its `done` not run yet. Only the window's end stops work without starting
  // more, so a stop leaves this as it was.
  bool running() const { return running_; }

 private:
  QObject* receiver_;
  std::jthread thread_;
  std::uint64_t generation_ = 0;
  bool running_ = false;
};

}  // namespace tarvel
