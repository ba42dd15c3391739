#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <stop_token>

namespace tarvel {

// One piece of work at a time on a thread of its own, so that the window keeps painting and
// answering. Newer work replaces older: starting work, or `stop`, asks the work before it to
// stop and lets it end on its own, never waited for; only the latest work's `done` runs, on
// the job's thread (the receiver's), once that work has ended, with what it threw (null when
// it returned). Neither the job nor the receiver needs to outlive the other or the work: a
// completion for a job or a receiver that is gone is dropped.
class BackgroundJob : public QObject {
  Q_OBJECT

 public:
  using Done = std::function<void(const std::exception_ptr& failure)>;

  explicit BackgroundJob(QObject* receiver);
  ~BackgroundJob() override;

  void start(std::function<void(std::stop_token)> work, Done done);
  void stop();
  // Started and its `done` not run yet. Only the window's end stops work without starting
  // more, so a stop leaves this as it was.
  bool running() const { return running_; }

  // Waits at most `limit` for every work of every job, stopped ones included, to end; false
  // when some is still running. For the program's end and for tests, never for the window.
  [[nodiscard]] static bool waitForAllWork(std::chrono::milliseconds limit);

 private slots:
  // Queued by the latest work as it ends.
  void deliver();

 private:
  struct Shared;

  std::shared_ptr<Shared> shared_;
  QPointer<QObject> receiver_;
  std::stop_source stop_;
  Done done_;
  bool running_ = false;
};

}  // namespace tarvel
