#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string_view>
#include <thread>
#include <vector>

#include "listing/EntrySource.h"
#include "listing/FolderReader.h"
#include "platform/FolderChain.h"
#include "platform/OpenFolder.h"

namespace tarvel {

// Reads folders on helper threads ahead of the walk, in the order the walk enters them, so
// that the system's work on several folders overlaps. The queue holds, depth first as the walk
// goes, the folders handed out and the lists of subfolders still to come; a helper that reads
// a folder puts the list of its subfolders right after it, so helpers find work well ahead of
// the walk. Every folder handed to the walk is checked to be the one it asks for. At most a
// bounded number of folders and entries are held ahead; a subfolder list holds names only, and
// only a weak hold on its folder's descriptor. Any failure on a helper ends reading ahead: the
// walk then reads the rest itself, with the same result.
class FolderReadAhead {
 public:
  explicit FolderReadAhead(unsigned helpers);
  ~FolderReadAhead();
  FolderReadAhead(const FolderReadAhead&) = delete;
  FolderReadAhead& operator=(const FolderReadAhead&) = delete;

  // The walk read `parent` itself and enters next these of its subfolders (at `depth`), in the
  // order of `order` (indexes into contents.folders()); those it cannot enter are left out.
  void expect(const SharedFolder& parent, std::size_t depth, bool wantSizes,
              const FolderContents& contents, const std::vector<std::size_t>& order);

  struct Taken {
    bool taken = false;   // a helper read it and queued its subfolders: `contents` holds it
    SharedFolder folder;  // its descriptor, null when it could not be opened
    FolderChain::Identity identity;  // who that folder is, asked by the helper that opened it
  };
  // The folder `name` at `depth`, which the walk enters now. When it was not read ahead, the
  // walk reads it itself; `reader` serves the walk to read one further on while it waits.
  [[nodiscard]] Taken take(std::size_t depth, std::string_view name, FolderReader& reader,
                           FolderContents& contents);
  // Hands the descriptors of folders the walk left to the helpers, which close them between two
  // reads: closing a folder costs the system about as much as reading it. Those the helpers are
  // not there to take, or not ahead of the walk, or too many waiting already, stay in `folders`.
  void retire(std::vector<SharedFolder>& folders);
  // Drops everything queued and stops the helpers; a new walk may read ahead again.
  void stop();
  // The same, and no more reading ahead for this walk.
  void abandon();
  // Folders being read ahead stop early once `stop` is requested; only between walks.
  void setStop(std::stop_token stop) { stop_ = std::move(stop); }

 private:
  struct Item;

  void startHelpers();
  void help();
  // Closes what the walk retired, the lock let go of meanwhile; false when there was nothing.
  [[nodiscard]] bool closeRetired(std::unique_lock<std::mutex>& lock,
                                  std::vector<SharedFolder>& closing);
  [[nodiscard]] bool readOneAhead(std::unique_lock<std::mutex>& lock, FolderReader& reader);
  Item* handOut();
  void wakeHelpers();
  // An item to fill, from those used before when there are any; under `mutex_`.
  std::unique_ptr<Item> newItem();
  // Keeps `item`'s storage for another folder, unless it grew large; under `mutex_`.
  void recycle(std::unique_ptr<Item> item);
  // Fills `list` with those of `order` that may be entered; false when there is none.
  [[nodiscard]] static bool listSubfolders(Item& list, const SharedFolder& parent,
                                           std::size_t depth, const FolderContents& contents,
                                           const std::vector<std::size_t>& order);

  const unsigned helperCount_;
  std::size_t maxFoldersAhead_;
  std::vector<std::thread> helpers_;
  bool abandoned_ = false;  // a failure ended reading ahead for this walk
  std::stop_token stop_;    // set while no helper runs, read by them

  // Shared with the helpers, under `mutex_`.
  std::mutex mutex_;
  std::condition_variable workQueued_;  // helpers wait on it
  std::condition_variable readDone_;    // the walk waits on it
  std::deque<std::unique_ptr<Item>> queue_;
  // Items taken by the walk, kept with their storage: in the steady state of a walk, reading a
  // folder ahead allocates nothing.
  std::vector<std::unique_ptr<Item>> spare_;
  // Every item of the queue before this one is a folder, handed out: helpers look for a list
  // from here, not past every folder read ahead.
  std::size_t firstList_ = 0;
  std::vector<SharedFolder> retired_;  // for helpers to close; room reserved for all it may hold
  std::size_t foldersAhead_ = 0;       // being read or ready, not yet taken
  std::size_t entriesAhead_ = 0;       // in the ready ones
  bool wantSizes_ = false;
  bool heldBack_ = false;  // helpers wait for the walk to take what is ready
  bool failed_ = false;
  bool stopping_ = false;
};

}  // namespace tarvel
