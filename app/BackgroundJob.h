#pragma once

#include <QObject>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <stop_token>

namespace tarvel {

// One piece of work at a time on a thread of its own, so that the window keeps painting and
// answering. Newer work replaces older: starting work, or `stop`, asks the work before it to
// stop and lets it end on its own, never waited for; only the latest work's `done` runs, on
// the thread of `receiver`, once that work has ended, with what it threw (null when it
// returned). Neither the job nor the receiver needs to outlive the other or the work: a
// completion for a job or a receiver that is gone is dropped.
class BackgroundJob {
 public:
  using Done = std::function<void(std::exception_ptr failure)>;

  explicit BackgroundJob(QObject* receiver);
  ~BackgroundJob();
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;

  void start(std::function<void(std::stop_token)> work, Done done);
  void stop();
  // Started and its `done` not run yet. Only the window's end stops work without starting
  // more, so a stop leaves this as it was.
  bool running() const;

  // Waits at most `limit` for every work of every job, stopped ones included, to end; false
  // when some is still running. For the program's end and for tests, never for the window.
  static bool waitForAllWork(std::chrono::milliseconds limit);

 private:
  struct Shared;

  static void complete(const std::shared_ptr<Shared>& shared, std::uint64_t generation,
                       std::exception_ptr failure, Done done);

  std::shared_ptr<Shared> shared_;
  std::stop_source stop_;
};

}  // namespace tarvel
