#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "listing/EntrySource.h"
#include "listing/FolderReader.h"

namespace tarvel {

// A folder the walk is going to read.
struct FolderRequest {
  std::string path;  // its full path, which ends with its name
  std::size_t nameOffset = 0;
  std::size_t depth = 0;
  bool wantSizes = false;
  SharedDescriptor parent;  // the folder holding it, when that is kept open
};

// The request for the subfolder `name` of the folder at `path` (depth `depth`), opened
// relative to `descriptor` when there is one.
FolderRequest subfolderRequest(const std::string& path, std::size_t depth, bool wantSizes,
                               const SharedDescriptor& descriptor, std::string_view name);

// A folder as the walk takes it.
struct TakenFolder {
  SharedDescriptor descriptor;    // as FolderReader::read returns it
  bool subfoldersQueued = false;  // a helper queued its subfolders, in the listing's order
};

// Reads folders on helper threads ahead of the walk, in the order the walk will want them,
// so that the system's work on several folders overlaps. The walk says which subfolders it
// enters next (`expect`); a helper that reads a folder also queues its subfolders right after
// it, in the listing's name order, so that helpers have work well ahead of the walk. The walk's
// word overrides such a guess, and every folder handed to the walk is checked to be the one it
// asks for: a wrong guess costs time, never a wrong entry. Helpers hold only a bounded number
// of folders ready, so memory and descriptors stay bounded too.
class FolderReadAhead {
 public:
  explicit FolderReadAhead(unsigned helpers);
  ~FolderReadAhead();
  FolderReadAhead(const FolderReadAhead&) = delete;
  FolderReadAhead& operator=(const FolderReadAhead&) = delete;

  // Queues the subfolders of the folder taken last, which the walk reads next, in that order
  // (taking the requests' contents). `guessed`: a helper queued them already, maybe rightly.
  void expect(std::vector<FolderRequest>& subfolders, bool guessed);
  // Fills `contents`, which must be empty, with the entries of the folder at `path`, exactly
  // as FolderReader::read does. The folder is normally the first one queued; any other means the
  // walk went elsewhere: the queue is dropped and the folder read by path.
  TakenFolder take(const std::string& path, std::size_t depth, bool wantSizes,
                   FolderContents& contents);
  // Drops every queued folder and stops the helpers until more folders are queued.
  void stop();

 private:
  struct Job;

  bool queuedFirst(const std::vector<FolderRequest>& subfolders) const;
  void startHelpers();
  void help();
  bool mayReadAhead() const;
  bool readOneAhead(std::unique_lock<std::mutex>& lock, FolderReader& reader);
  static void read(FolderReader& reader, Job& job);
  static std::vector<std::unique_ptr<Job>> subfolderJobs(const Job& job);
  std::unique_ptr<Job> spareJob();
  void recycle(std::unique_ptr<Job> job);

  const unsigned helperCount_;
  FolderReader walkReader_;                  // used on the walk's thread only
  std::vector<std::unique_ptr<Job>> spare_;  // taken jobs, kept for their buffers
  std::vector<std::unique_ptr<Job>> incoming_;
  std::vector<std::thread> helpers_;

  // Shared with the helpers, under `mutex_`.
  mutable std::mutex mutex_;
  std::condition_variable workQueued_;      // helpers wait on it
  std::condition_variable jobDone_;         // the walk waits on it
  std::deque<std::unique_ptr<Job>> queue_;  // depth first, as the walk goes
  std::size_t foldersAhead_ = 0;            // being read or ready, not yet taken
  std::size_t entriesAhead_ = 0;            // in the ready ones
  unsigned idleHelpers_ = 0;
  bool helpersHeldBack_ = false;  // they wait for the walk to take what is ready
  bool walkWaiting_ = false;
  bool stopping_ = false;
};

}  // namespace tarvel
