#include "app/BackgroundJob.h"

#include <QMetaObject>

namespace tarvel {

void BackgroundJob::start(std::function<void(std::stop_token)> work, std::function<void()> done) {
  stop();
  const std::uint64_t generation = generation_;
  running_ = true;
  thread_ = std::jthread(
      [this, generation, work = std::move(work), done = std::move(done)](std::stop_token token) {
        work(token);
        // Runs later on the receiver's thread, or never if the receiver is gone by then; newer
        // work or a stop since (the work may have ended early) makes it a no-op.
        QMetaObject::invokeMethod(
            receiver_,
            [this, generation, done] {
              if (generation != generation_) return;
              running_ = false;
              done();
            },
            Qt::QueuedConnection);
      });
}

void BackgroundJob::stop() {
  ++generation_;
  thread_.request_stop();
  if (thread_.joinable()) thread_.join();
}

}  // namespace tarvel
