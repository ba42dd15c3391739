#include "app/ReportFeed.h"

namespace tarvel {

void ReportFeed::write(std::string_view piece) {
  const std::lock_guard lock(mutex_);
  pending_.append(piece);
}

void ReportFeed::take(std::string& arrived) {
  arrived.clear();
  const std::lock_guard lock(mutex_);
  arrived.swap(pending_);
}

}  // namespace tarvel
