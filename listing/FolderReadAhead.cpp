#include "listing/FolderReadAhead.h"

#include "listing/AllocationFailurePoint.h"

#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>

namespace tarvel {

namespace {

// How far helpers may run ahead of the walk: enough to keep them busy while the walk writes
// lines, and to wake them once per half of it (64 folders), not per folder; little enough that
// what is held ready stays in the processors' caches (256 measured 10 % more system time than
// 128 or 64) and costs next to nothing beside the report. Each folder held ahead keeps its
// descriptor open: no more than a quarter of what the process may have open are held so.
constexpr std::size_t kMaxFoldersAhead = 128;
constexpr std::size_t kMaxEntriesAhead = std::size_t{16} * 1024;
// How far down the queue, past the folders handed out before the first list, a helper looks for
// a folder to read.
constexpr std::size_t kMaxLook = 128;
// Items kept for reuse, and the most entries one may have held: the storage of a large folder
// goes back to the system rather than stay with the walk to its end.
constexpr std::size_t kMaxSpare = 2 * kMaxFoldersAhead;
constexpr std::size_t kLargestReused = 1024;
// Room for the folders left by the walk and not closed yet; no more than half as many as may be
// held ahead wait so, as their descriptors count with those.
constexpr std::size_t kMaxRetired = kMaxFoldersAhead / 2;

std::size_t entryCount(const FolderContents& contents) {
  return contents.folders().size() + contents.files().size();
}

}  // namespace

struct FolderReadAhead::Item {
  enum class State {
    List,     // subfolders still to come, by name
    Waiting,  // one folder, left to the walk, which wants it next
    Reading,  // one folder a thread reads
    Ready,    // one folder read
  };
  State state = State::List;
  std::size_t depth = 0;  // of the folder, or of the folders listed
  // A list: the folder holding them, which the walk or a ready folder keeps open while it
  // matters, and their names, each followed by a NUL, from `next` on.
  std::weak_ptr<const FileDescriptor> listParent;
  std::string names;
  std::size_t next = 0;
  // One folder.
  std::string name;
  SharedFolder parent;  // while it is read
  FolderContents contents;
  SharedFolder folder;
  FolderChain::Identity identity;

  // As new, with the storage it had. The depth, the list's parent, a folder's name and its
  // identity are set afresh by whoever takes it; what holds descriptors or entries goes now.
  void reset() {
    state = State::List;
    next = 0;
    names.clear();
    parent.reset();
    contents.clear();
    folder.reset();
  }
};

FolderReadAhead::FolderReadAhead(unsigned helpers)
    : helperCount_(helpers), maxFoldersAhead_(kMaxFoldersAhead) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0) {
    maxFoldersAhead_ = std::clamp<std::size_t>(limit.rlim_cur / 4, 2, kMaxFoldersAhead);
  }
  spare_.reserve(kMaxSpare);
  retired_.reserve(kMaxRetired);
}

FolderReadAhead::~FolderReadAhead() {
  stop();
}

bool FolderReadAhead::listSubfolders(Item& list, const SharedFolder& parent, std::size_t depth,
                                     const FolderContents& contents,
                                     const std::vector<std::size_t>& order) {
  list.depth = depth;
  list.listParent = parent;
  for (const std::size_t index : order) {
    const auto& subfolder = contents.folders()[index];
    if (!subfolder.canDescend) continue;
    list.names.append(contents.name(subfolder));
    list.names.push_back('\0');
  }
  return !list.names.empty();
}

std::unique_ptr<FolderReadAhead::Item> FolderReadAhead::newItem() {
  if (spare_.empty()) {
    AllocationFailurePoint::pass();
    return std::make_unique<Item>();
  }
  std::unique_ptr<Item> item = std::move(spare_.back());
  spare_.pop_back();
  return item;
}

void FolderReadAhead::recycle(std::unique_ptr<Item> item) {
  // Room for kMaxSpare was reserved: keeping one never allocates.
  if (spare_.size() >= kMaxSpare || entryCount(item->contents) > kLargestReused ||
      item->names.capacity() > kLargestReused * 64) {
    return;
  }
  item->reset();
  spare_.push_back(std::move(item));
}

void FolderReadAhead::expect(const SharedFolder& parent, std::size_t depth, bool wantSizes,
                             const FolderContents& contents,
                             const std::vector<std::size_t>& order) {
  if (helperCount_ == 0 || abandoned_) return;
  {
    const std::lock_guard lock(mutex_);
    auto list = newItem();
    if (!listSubfolders(*list, parent, depth, contents, order)) {
      recycle(std::move(list));
      return;
    }
    // The walk reads the first itself: helpers have work only beyond it.
    const bool severalNames = list->names.find('\0') + 1 < list->names.size();
    wantSizes_ = wantSizes;
    queue_.push_front(std::move(list));
    firstList_ = 0;
    if (severalNames || queue_.size() > 1) wakeHelpers();
  }
  startHelpers();
}

FolderReadAhead::Taken FolderReadAhead::take(std::size_t depth, std::string_view name,
                                             FolderReader& reader, FolderContents& contents) {
  if (abandoned_) return {};
  std::unique_lock lock(mutex_);
  for (;;) {
    if (failed_) {
      lock.unlock();
      abandon();
      return {};
    }
    if (queue_.empty()) return {};
    Item& first = *queue_.front();
    if (first.depth != depth) break;
    if (first.state == Item::State::List) {
      if (name != first.names.c_str() + first.next) break;
      first.next += name.size() + 1;
      if (first.next >= first.names.size()) {
        recycle(std::move(queue_.front()));
        queue_.pop_front();  // firstList_ was 0: it stays so
      }
      return {};
    }
    if (name != first.name) break;
    if (first.state == Item::State::Reading) {
      // A helper reads it: read one further on rather than wait idle. A read of ours that
      // failed let go of the lock and already told of the failure: no one would wake us.
      if (!readOneAhead(lock, reader) && !failed_) readDone_.wait(lock);
      continue;
    }
    std::unique_ptr<Item> item = std::move(queue_.front());
    queue_.pop_front();
    if (firstList_ > 0) --firstList_;
    if (item->state == Item::State::Waiting) {
      recycle(std::move(item));
      return {};
    }
    --foldersAhead_;
    entriesAhead_ -= entryCount(item->contents);
    // Held back helpers resume once half of what was ahead is taken: woken for every folder,
    // they would wake for one folder each time, and waking costs more than reading.
    if (heldBack_ && foldersAhead_ <= maxFoldersAhead_ / 2 &&
        entriesAhead_ <= kMaxEntriesAhead / 2) {
      heldBack_ = false;
      wakeHelpers();
    }
    std::swap(contents, item->contents);
    Taken taken{true, std::move(item->folder), item->identity};
    recycle(std::move(item));
    return taken;
  }
  // The walk went elsewhere than the queue says: what was read ahead goes, and reading ahead
  // starts again from the next folder whose subfolders the walk announces.
  lock.unlock();
  stop();
  return {};
}

void FolderReadAhead::retire(std::vector<SharedFolder>& folders) {
  if (helpers_.empty() || folders.empty()) return;
  const std::lock_guard lock(mutex_);
  // Only helpers well ahead of the walk have time to spare: when the walk waits for them (a
  // listing with sizes, where a folder costs a stat per file), it closes its folders itself.
  if (foldersAhead_ < maxFoldersAhead_ / 4) return;
  // Within the room reserved: retiring never allocates.
  while (!folders.empty() && retired_.size() < maxFoldersAhead_ / 2) {
    retired_.push_back(std::move(folders.back()));
    folders.pop_back();
  }
}

bool FolderReadAhead::closeRetired(std::unique_lock<std::mutex>& lock,
                                   std::vector<SharedFolder>& closing) {
  if (retired_.empty()) return false;
  std::move(retired_.begin(), retired_.end(), std::back_inserter(closing));
  retired_.clear();
  lock.unlock();
  closing.clear();
  lock.lock();
  return true;
}

void FolderReadAhead::stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    workQueued_.notify_all();
  }
  for (auto& helper : helpers_) helper.join();
  helpers_.clear();
  // No helper is left to touch what follows.
  queue_.clear();
  retired_.clear();
  firstList_ = 0;
  spare_.clear();
  foldersAhead_ = entriesAhead_ = 0;
  stopping_ = failed_ = heldBack_ = abandoned_ = false;
}

void FolderReadAhead::abandon() {
  stop();
  abandoned_ = true;
}

void FolderReadAhead::startHelpers() {
  if (!helpers_.empty()) return;
  try {
    while (helpers_.size() < helperCount_) helpers_.emplace_back([this] { help(); });
  } catch (const std::exception&) {
    // Fewer helpers, or none: the walk reads what they do not.
  }
}

// Costs next to nothing when no helper waits: the condition variable looks for waiters first.
void FolderReadAhead::wakeHelpers() {
  if (!heldBack_) workQueued_.notify_all();
}

void FolderReadAhead::help() {
  try {
    AllocationFailurePoint::pass();  // the helper's own buffers
    FolderReader reader;
    std::vector<SharedFolder> closing;
    closing.reserve(kMaxRetired);
    std::unique_lock lock(mutex_);
    for (;;) {
      if (closeRetired(lock, closing) || readOneAhead(lock, reader)) continue;
      // A read that failed let go of the lock, and a stop may have come meanwhile: waiting now
      // would miss its call.
      if (stopping_ || failed_) break;
      workQueued_.wait(lock);
    }
  } catch (...) {
    const std::lock_guard lock(mutex_);
    failed_ = true;
    readDone_.notify_all();
  }
}

// The first folder of the first list that may be read ahead becomes an item of its own, being
// read; null when there is none, or enough is ahead already.
FolderReadAhead::Item* FolderReadAhead::handOut() {
  if (failed_ || stopping_) return nullptr;
  if (foldersAhead_ >= maxFoldersAhead_ || entriesAhead_ >= kMaxEntriesAhead) {
    heldBack_ = true;
    return nullptr;
  }
  bool listSeen = false;
  for (std::size_t i = firstList_; i < queue_.size() && i < firstList_ + kMaxLook; ++i) {
    Item& list = *queue_[i];
    if (list.state != Item::State::List) {
      if (!listSeen) firstList_ = i + 1;
      continue;
    }
    listSeen = true;
    SharedFolder parent = list.listParent.lock();
    if (!parent) continue;  // let go of by the walk: it opens these itself
    auto single = newItem();
    single->depth = list.depth;
    single->name = list.names.c_str() + list.next;
    list.next += single->name.size() + 1;
    const auto at = queue_.begin() + static_cast<std::ptrdiff_t>(i);
    Item* handed = single.get();
    if (list.next >= list.names.size()) {
      recycle(std::move(*at));
      *at = std::move(single);
    } else {
      queue_.insert(at, std::move(single));
    }
    // The walk's next folder is left to it: were a helper to read it, the walk would wait.
    if (i == 0) {
      handed->state = Item::State::Waiting;
      continue;
    }
    handed->state = Item::State::Reading;
    handed->parent = std::move(parent);
    ++foldersAhead_;
    return handed;
  }
  return nullptr;
}

// Reads one folder handed out, then queues its subfolders right after it; false when there was
// none to read. `lock` is released while reading.
bool FolderReadAhead::readOneAhead(std::unique_lock<std::mutex>& lock, FolderReader& reader) {
  Item* item = nullptr;
  try {
    item = handOut();
  } catch (...) {
    // Told at its next take, the walk reads the rest itself; if it waits now, it waits for a
    // folder another helper reads, whose end wakes it.
    failed_ = true;
  }
  if (item == nullptr) return false;
  const bool wantSizes = wantSizes_;
  const SharedFolder parent = std::move(item->parent);
  lock.unlock();
  bool read = true;
  // Each thread's own, kept from folder to folder unless a folder of many subfolders grew it.
  thread_local std::vector<std::size_t> order;
  if (order.capacity() > kLargestReused) order = {};
  order.clear();
  try {
    const int folder = openSubfolder(parent->get(), item->name.c_str());
    if (folder >= 0) {
      item->folder = shareFolder(folder);
      item->identity = FolderChain::identify(folder);
      reader.read(folder, wantSizes, item->contents, stop_);
      for (std::size_t i = 0; i < item->contents.folders().size(); ++i) order.push_back(i);
      item->contents.sortFolders(order);
    } else if (isOutOfDescriptors(errno)) {
      read = false;  // the walk, which can close some of its own, opens it
    } else {
      item->contents.noteFolderError(errno);
    }
  } catch (...) {
    read = false;
  }
  lock.lock();
  bool queuesMore = false;
  try {
    if (read && !order.empty()) {
      auto list = newItem();
      queuesMore = listSubfolders(*list, item->folder, item->depth + 1, item->contents, order);
      // Still queued: only the walk takes items out, and never one being read.
      const auto at = std::find_if(queue_.begin(), queue_.end(),
                                   [item](const auto& queued) { return queued.get() == item; });
      if (queuesMore) {
        const auto position = static_cast<std::size_t>(at + 1 - queue_.begin());
        queue_.insert(at + 1, std::move(list));
        firstList_ = std::min(firstList_, position);
      } else {
        recycle(std::move(list));
      }
    }
  } catch (...) {
    read = false;
  }
  if (!read) {
    // The item stays as it is; the walk, told, drops the queue and reads the rest itself.
    failed_ = true;
    readDone_.notify_all();
    return false;
  }
  item->state = Item::State::Ready;
  entriesAhead_ += entryCount(item->contents);
  readDone_.notify_one();
  if (queuesMore) wakeHelpers();
  return true;
}

}  // namespace tarvel
