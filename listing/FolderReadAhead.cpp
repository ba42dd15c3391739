#include "listing/FolderReadAhead.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <new>
#include <system_error>
#include <utility>

#include "platform/PathRules.h"

namespace tarvel {

namespace {

// How far helpers may run ahead of the walk: enough to keep them busy while the walk writes
// lines, little enough that the folders held ready cost next to nothing beside the report.
constexpr std::size_t kMaxFoldersAhead = 64;
constexpr std::size_t kMaxEntriesAhead = 16 * 1024;
constexpr std::size_t kMaxSpareJobs = 64;

std::size_t entryCount(const FolderContents& contents) {
  return contents.folders().size() + contents.files().size();
}

}  // namespace

FolderRequest subfolderRequest(const std::string& path, std::size_t depth, bool wantSizes,
                               const SharedDescriptor& descriptor, std::string_view name) {
  FolderRequest request;
  request.path.reserve(path.size() + 1 + name.size());
  request.path = path;
  appendPathComponent(request.path, name);
  request.nameOffset = request.path.size() - name.size();
  request.depth = depth + 1;
  request.wantSizes = wantSizes;
  request.parent = descriptor;
  return request;
}

struct FolderReadAhead::Job {
  enum class State { Waiting, Reading, Ready };

  FolderRequest request;
  State state = State::Waiting;
  FolderContents contents;
  SharedDescriptor descriptor;
  std::exception_ptr failure;  // rethrown on the walk's thread
  bool subfoldersQueued = false;
};

FolderReadAhead::FolderReadAhead(unsigned helpers) : helperCount_(helpers) {}

FolderReadAhead::~FolderReadAhead() {
  stop();
}

void FolderReadAhead::expect(std::vector<FolderRequest>& subfolders, bool guessed) {
  if (subfolders.empty()) return;
  if (guessed) {
    if (const std::lock_guard lock(mutex_); queuedFirst(subfolders)) return;
    stop();  // rare enough that dropping everything is simpler than mending the queue
  }
  incoming_.clear();
  for (auto& request : subfolders) {
    incoming_.push_back(spareJob());
    incoming_.back()->request = std::move(request);
  }
  {
    const std::lock_guard lock(mutex_);
    queue_.insert(queue_.begin(), std::make_move_iterator(incoming_.begin()),
                  std::make_move_iterator(incoming_.end()));
    if (idleHelpers_ > 0 && !helpersHeldBack_ && queue_.size() > 1) workQueued_.notify_all();
  }
  incoming_.clear();
  startHelpers();
}

// Whether the queue starts with exactly `subfolders`, each followed by what is queued below it.
bool FolderReadAhead::queuedFirst(const std::vector<FolderRequest>& subfolders) const {
  const std::size_t depth = subfolders.front().depth;
  std::size_t matched = 0;
  for (std::size_t i = 0; i < queue_.size() && queue_[i]->request.depth >= depth; ++i) {
    if (queue_[i]->request.depth > depth) continue;
    if (matched == subfolders.size() || queue_[i]->request.path != subfolders[matched].path) {
      return false;
    }
    ++matched;
  }
  return matched == subfolders.size();
}

TakenFolder FolderReadAhead::take(const std::string& path, std::size_t depth, bool wantSizes,
                                  FolderContents& contents) {
  std::unique_lock lock(mutex_);
  const auto isFirstQueued = [&] {
    if (queue_.empty()) return false;
    const FolderRequest& first = queue_.front()->request;
    return first.depth == depth && first.wantSizes == wantSizes && first.path == path;
  };
  if (!isFirstQueued()) {
    lock.unlock();
    stop();
    return {walkReader_.read(path, nullptr, nullptr, depth, wantSizes, contents), false};
  }
  // While a helper reads the folder, the walk reads one further on rather than idle.
  while (queue_.front()->state == Job::State::Reading) {
    if (!readOneAhead(lock, walkReader_)) {
      walkWaiting_ = true;
      jobDone_.wait(lock);
      walkWaiting_ = false;
    }
  }
  std::unique_ptr<Job> job = std::move(queue_.front());
  queue_.pop_front();
  if (job->state == Job::State::Ready) {
    --foldersAhead_;
    entriesAhead_ -= entryCount(job->contents);
    // Helpers held back resume only once half of what was ahead is taken: woken for every
    // folder, they would wake for one folder each time, and waking costs more than reading.
    if (helpersHeldBack_ && foldersAhead_ <= kMaxFoldersAhead / 2 &&
        entriesAhead_ <= kMaxEntriesAhead / 2) {
      helpersHeldBack_ = false;
      workQueued_.notify_all();
    }
  }
  lock.unlock();

  // Out of the queue, a waiting folder is the walk's alone.
  if (job->state == Job::State::Waiting) read(walkReader_, *job);
  if (job->failure) std::rethrow_exception(job->failure);
  // The walk hands over an empty folder: no copy, and the job keeps the old buffers for reuse.
  std::swap(contents, job->contents);
  TakenFolder taken{std::move(job->descriptor), job->subfoldersQueued};
  recycle(std::move(job));
  return taken;
}

void FolderReadAhead::stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    workQueued_.notify_all();
  }
  for (auto& helper : helpers_) helper.join();
  helpers_.clear();
  // No helper is left to touch the queue.
  stopping_ = false;
  helpersHeldBack_ = false;
  queue_.clear();
  foldersAhead_ = entriesAhead_ = 0;
}

void FolderReadAhead::startHelpers() {
  if (!helpers_.empty()) return;
  try {
    while (helpers_.size() < helperCount_) helpers_.emplace_back([this] { help(); });
  } catch (const std::system_error&) {
    // Fewer helpers, or none: the walk reads what they do not.
  }
}

void FolderReadAhead::help() {
  FolderReader reader;
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (readOneAhead(lock, reader)) continue;
    helpersHeldBack_ = !mayReadAhead();
    ++idleHelpers_;
    workQueued_.wait(lock);
    --idleHelpers_;
  }
}

bool FolderReadAhead::mayReadAhead() const {
  return foldersAhead_ < kMaxFoldersAhead && entriesAhead_ < kMaxEntriesAhead;
}

// Reads the first queued folder nobody reads yet and queues its subfolders after it, unless
// enough are ahead already; false when there is none. `lock` is released while reading.
bool FolderReadAhead::readOneAhead(std::unique_lock<std::mutex>& lock, FolderReader& reader) {
  if (!mayReadAhead()) return false;
  // The first queued folder is left to the walk, which wants it next: were a helper to read
  // it, the walk would only wait for the helper.
  Job* job = nullptr;
  for (std::size_t i = 1; i < queue_.size() && job == nullptr; ++i) {
    if (queue_[i]->state == Job::State::Waiting) job = queue_[i].get();
  }
  if (job == nullptr) return false;
  job->state = Job::State::Reading;
  ++foldersAhead_;
  lock.unlock();
  read(reader, *job);
  std::vector<std::unique_ptr<Job>> subfolders;
  bool guessed = true;
  try {
    subfolders = subfolderJobs(*job);
  } catch (const std::bad_alloc&) {
    guessed = false;  // the walk still says which subfolders come next
  }
  lock.lock();
  // Still queued: only the walk takes jobs out, and never one being read.
  const auto at = std::find_if(queue_.begin(), queue_.end(),
                               [job](const auto& queued) { return queued.get() == job; });
  const bool moreToRead = !subfolders.empty();
  queue_.insert(at + 1, std::make_move_iterator(subfolders.begin()),
                std::make_move_iterator(subfolders.end()));
  job->subfoldersQueued = guessed;
  job->state = Job::State::Ready;
  entriesAhead_ += entryCount(job->contents);
  if (walkWaiting_) jobDone_.notify_one();
  if (moreToRead && idleHelpers_ > 0 && !helpersHeldBack_) workQueued_.notify_all();
  return true;
}

void FolderReadAhead::read(FolderReader& reader, Job& job) {
  FolderRequest& request = job.request;
  try {
    job.descriptor = reader.read(request.path, request.path.c_str() + request.nameOffset,
                                 request.parent, request.depth, request.wantSizes, job.contents);
  } catch (...) {
    job.failure = std::current_exception();
  }
  // The folder is open or unreadable: its parent's descriptor is no longer needed for it.
  request.parent.reset();
}

// Jobs for the subfolders of the folder `job` read that can be entered, in the order the walk
// lists them in.
std::vector<std::unique_ptr<FolderReadAhead::Job>> FolderReadAhead::subfolderJobs(const Job& job) {
  std::vector<std::unique_ptr<Job>> jobs;
  if (job.failure) return jobs;
  const FolderContents& contents = job.contents;
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < contents.folders().size(); ++i) {
    if (contents.folders()[i].canDescend) order.push_back(i);
  }
  contents.sortFolders(order);
  for (const std::size_t i : order) {
    jobs.push_back(std::make_unique<Job>());
    jobs.back()->request =
        subfolderRequest(job.request.path, job.request.depth, job.request.wantSizes, job.descriptor,
                         contents.name(contents.folders()[i]));
  }
  return jobs;
}

std::unique_ptr<FolderReadAhead::Job> FolderReadAhead::spareJob() {
  if (spare_.empty()) return std::make_unique<Job>();
  std::unique_ptr<Job> job = std::move(spare_.back());
  spare_.pop_back();
  return job;
}

void FolderReadAhead::recycle(std::unique_ptr<Job> job) {
  if (spare_.size() >= kMaxSpareJobs) return;
  job->state = Job::State::Waiting;
  job->contents.clear();
  job->descriptor.reset();
  job->failure = nullptr;
  job->subfoldersQueued = false;
  spare_.push_back(std::move(job));
}

}  // namespace tarvel
