#include "app/BackgroundJob.h"

#include <QMetaObject>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>

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

// What a job shares with its work's threads. The work hands its end over under the lock, and
// the queued call carries nothing: what Qt's queue hands between threads is not all a race
// detector can see, this lock is.
struct BackgroundJob::Shared {
  std::mutex mutex;
  BackgroundJob* job = nullptr;  // null once the job is gone
  std::uint64_t generation = 0;  // of the latest work; only its end counts
  bool ended = false;            // the latest work ended, with `failure`
  std::exception_ptr failure;

  void end(std::uint64_t of, std::exception_ptr thrown) noexcept {
    const std::lock_guard lock(mutex);
    if (job == nullptr || of != generation) return;
    ended = true;
    failure = std::move(thrown);
    try {
      QMetaObject::invokeMethod(job, "deliver", Qt::QueuedConnection);
    } catch (...) {
      // No memory left even to tell the window: the next work or stop clears this end.
    }
  }
};

BackgroundJob::BackgroundJob(QObject* receiver)
    : shared_(std::make_shared<Shared>()), receiver_(receiver) {
  shared_->job = this;
}

BackgroundJob::~BackgroundJob() {
  stop();
  // Calls queued already go with this object.
  const std::lock_guard lock(shared_->mutex);
  shared_->job = nullptr;
}

void BackgroundJob::start(std::function<void(std::stop_token)> work, Done done) {
  stop();
  stop_ = std::stop_source();
  done_ = std::move(done);
  std::uint64_t generation = 0;
  {
    const std::lock_guard lock(shared_->mutex);
    generation = ++shared_->generation;
  }
  running_ = true;
  liveWork().add(1);
  try {
    std::thread([shared = shared_, generation, token = stop_.get_token(),
                 work = std::move(work)]() mutable {
      std::exception_ptr failure;
      try {
        work(token);
      } catch (...) {
        // Whatever the work throws, memory running out included, is the window's to tell.
        failure = std::current_exception();
      }
      shared->end(generation, failure);
      liveWork().add(-1);
    }).detach();
  } catch (...) {
    // No thread to be had: told as the work's own failure.
    liveWork().add(-1);
    shared_->end(generation, std::current_exception());
  }
}

void BackgroundJob::stop() {
  stop_.request_stop();
  const std::lock_guard lock(shared_->mutex);
  ++shared_->generation;
  shared_->ended = false;
  shared_->failure = nullptr;
}

void BackgroundJob::deliver() {
  std::exception_ptr failure;
  {
    const std::lock_guard lock(shared_->mutex);
    // Newer work or a stop since the call was queued: not this work's end.
    if (!shared_->ended) return;
    shared_->ended = false;
    failure = std::exchange(shared_->failure, nullptr);
  }
  running_ = false;
  if (receiver_ != nullptr) done_(failure);
}

bool BackgroundJob::waitForAllWork(std::chrono::milliseconds limit) {
  LiveWork& live = liveWork();
  std::unique_lock lock(live.mutex);
  return live.ended.wait_for(lock, limit, [&live] { return live.count == 0; });
}

}  // namespace tarvel
