#include "app/BackgroundJob.h"

#include <QMetaObject>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tarvel {

namespace {

// Every work still running, stopped or not, so that the program's end may wait a little for
// them. Never destroyed: work may still end while static objects go.
struct LiveWork {
  std::mutex mutex;
  std::condition_variable ended;
  int count = 0;

  void add(int change) {
    const std::lock_guard lock(mutex);
    count += change;
    if (count == 0) ended.notify_all();
  }
};

LiveWork& liveWork() {
  static auto* const live = new LiveWork;
  return *live;
}

}  // namespace

// What a job shares with its work's threads and queued completions.
struct BackgroundJob::Shared {
  std::mutex mutex;
  QObject* receiver = nullptr;   // null once the job or the receiver is gone
  std::uint64_t generation = 0;  // of the latest work; only its completion counts
  bool running = false;          // only on the receiver's thread
};

BackgroundJob::BackgroundJob(QObject* receiver) : shared_(std::make_shared<Shared>()) {
  shared_->receiver = receiver;
  // Qt drops the completions queued for a receiver that goes; this stops new ones.
  QObject::connect(receiver, &QObject::destroyed, [shared = shared_] {
    const std::lock_guard lock(shared->mutex);
    shared->receiver = nullptr;
  });
}

BackgroundJob::~BackgroundJob() {
  stop();
  const std::lock_guard lock(shared_->mutex);
  shared_->receiver = nullptr;
}

bool BackgroundJob::running() const {
  return shared_->running;
}

void BackgroundJob::start(std::function<void(std::stop_token)> work, Done done) {
  stop();
  stop_ = std::stop_source();
  std::uint64_t generation = 0;
  {
    const std::lock_guard lock(shared_->mutex);
    generation = ++shared_->generation;
  }
  shared_->running = true;
  liveWork().add(1);
  try {
    std::thread([shared = shared_, generation, token = stop_.get_token(), work = std::move(work),
                 done]() mutable {
      std::exception_ptr failure;
      try {
        work(token);
      } catch (...) {
        // Whatever the work throws, memory running out included, is the window's to tell.
        failure = std::current_exception();
      }
      complete(shared, generation, failure, std::move(done));
      liveWork().add(-1);
    }).detach();
  } catch (...) {
    // No thread to be had: told as the work's own failure.
    liveWork().add(-1);
    complete(shared_, generation, std::current_exception(), std::move(done));
  }
}

// Queues `done` on the receiver's thread, unless newer work or a stop came first; checked again
// there, as either may come meanwhile.
void BackgroundJob::complete(const std::shared_ptr<Shared>& shared, std::uint64_t generation,
                             std::exception_ptr failure, Done done) {
  try {
    const std::lock_guard lock(shared->mutex);
    if (shared->receiver == nullptr || generation != shared->generation) return;
    QMetaObject::invokeMethod(
        shared->receiver,
        [shared, generation, failure, done = std::move(done)] {
          {
            const std::lock_guard current(shared->mutex);
            if (shared->receiver == nullptr || generation != shared->generation) return;
          }
          shared->running = false;
          done(failure);
        },
        Qt::QueuedConnection);
  } catch (...) {
    // No memory left even to tell the window: the work is lost, the program goes on.
  }
}

void BackgroundJob::stop() {
  stop_.request_stop();
  const std::lock_guard lock(shared_->mutex);
  ++shared_->generation;
}

bool BackgroundJob::waitForAllWork(std::chrono::milliseconds limit) {
  LiveWork& live = liveWork();
  std::unique_lock lock(live.mutex);
  return live.ended.wait_for(lock, limit, [&live] { return live.count == 0; });
}

}  // namespace tarvel
