#pragma once

#include "listing/WalkObservers.h"

class QWidget;

namespace tarvel {

// The walk's warning as a modal message box over the window: exclamation icon, plain text.
class MessageBoxWarnings final : public WarningSink {
 public:
  explicit MessageBoxWarnings(QWidget* owner) : owner_(owner) {}
  void warn(std::string_view caption, std::string_view message) override;

 private:
  QWidget* owner_;
};

}  // namespace tarvel
