#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "listing/WalkObservers.h"

namespace tarvel {

// Carries a report from the walk's thread to the window's while the walk writes it, so that
// the pane fills as the walk goes rather than after it.
class ReportFeed final : public ReportOutput {
 public:
  // On the walk's thread.
  void write(std::string_view piece) override;
  // What was written since the last take, in place of what `arrived` held; its storage and the
  // feed's are swapped, so that two buffers serve a whole listing.
  void take(std::string& arrived);

 private:
  std::mutex mutex_;
  std::string pending_;
};

}  // namespace tarvel
