#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/OpenFolder.h"

namespace tarvel {

// Set as errno when a folder would be entered below itself: it has the device and inode of one
// of the folders holding it (a folder bind-mounted inside its own subtree). No error the system
// gives has this value.
inline constexpr int kFolderLoop = -1;

// The folders from the top of a walk down to the one it is in, each opened relative to the one
// above it, never through a link, so no path longer than one name is ever resolved. Only a
// bounded number of them stay open: one closed to keep within the budget is opened again when
// it is needed, name by name from the nearest folder still open, and must then be the very
// folder it was (same device and inode): a folder swapped for another is refused, not entered.
// A folder that is one of those holding it is refused too, so that no walk goes round a loop.
class FolderChain {
 public:
  static constexpr std::size_t kDefaultBudget = 64;

  struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const Identity&) const = default;
  };

  // At most `budget` descriptors open, and no more than a small share of what the process may
  // have open (looked at when the chain starts).
  explicit FolderChain(std::size_t budget = kDefaultBudget);

  // Starts the chain at `top`, which stays open while the chain holds it; `above` are the
  // folders holding `top`, where another chain walked down to it.
  void start(SharedFolder top, std::vector<Identity> above = {});
  void clear();
  // The number of folders in the chain, the top included.
  std::size_t depth() const { return levels_.size(); }
  // Opens the folder `name` of the deepest one and makes it the deepest; false, with errno set,
  // when it cannot be opened or is one of those holding it (kFolderLoop).
  [[nodiscard]] bool enter(const char* name);
  // Who the open folder `descriptor` is; all zeros when it cannot say.
  static Identity identify(int descriptor);
  // Makes `folder`, opened as `name` in the deepest folder by someone else, who found it to be
  // `identity`, the deepest; false, with errno set to kFolderLoop, when it is one of those
  // holding it.
  [[nodiscard]] bool adopt(const char* name, SharedFolder folder, Identity identity);
  // Leaves the deepest folders until `depth` remain; their descriptors go to `left` (may be
  // null: then they close here), for the caller to close where it costs the walk nothing.
  void leaveTo(std::size_t depth, std::vector<SharedFolder>* left = nullptr);
  // The deepest folder, opened again if it was closed; null, with errno set, when it can no
  // longer be reached as it was.
  [[nodiscard]] SharedFolder deepest();
  // The folder at `level` if it is open now, else null.
  [[nodiscard]] SharedFolder openAt(std::size_t level) const;
  // Who the folders holding the one at `level` are, for a chain that starts from it.
  std::vector<Identity> lineage(std::size_t level) const;
  // The path of the folder at `level`: the names below the top, each after a "/", after
  // `topPath` (for messages).
  std::string pathOf(std::string_view topPath, std::size_t level) const;

 private:
  struct Level {
    std::size_t nameStart;  // in names_, NUL-terminated
    SharedFolder folder;    // null while closed
    // Known when it was opened, to recognise it when it is opened again; a folder that cannot
    // say who it is keeps 0, which no folder has.
    Identity identity;
  };

  // False, with errno set to kFolderLoop, when `folder` is one of those holding it.
  [[nodiscard]] bool push(const char* name, SharedFolder folder, Identity identity);
  // Opens the closed levels down to `level` again, each checked to be the folder left there.
  void reopen(std::size_t level);
  // Closes the shallowest open folder but the top and the deepest; false when there is none.
  [[nodiscard]] bool closeOne();
  // Opens `name` in `parent`, giving back descriptors of the chain when the process has none left.
  [[nodiscard]] int openName(int parent, const char* name);

  std::vector<Identity> above_;
  std::vector<Level> levels_;
  std::string names_;
  std::size_t wanted_;
  std::size_t budget_ = 2;
  std::size_t openCount_ = 0;
  std::size_t closedBelow_ = 1;  // every level from 1 up to this one is closed
};

}  // namespace tarvel
