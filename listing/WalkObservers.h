#pragma once

#include <cstdint>
#include <string_view>

namespace tarvel {

// The walk's progress, as a bar from 0 to a maximum that each folder sets anew.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void setRange(std::int64_t maximum) = 0;
  virtual void setPosition(std::int64_t position) = 0;
};

// Where the walk's one warning goes (a message box in the window).
class WarningSink {
 public:
  virtual ~WarningSink() = default;
  virtual void warn(std::string_view caption, std::string_view message) = 0;
};

class NoProgress final : public ProgressSink {
 public:
  void setRange(std::int64_t) override {}
  void setPosition(std::int64_t) override {}
};

class NoWarnings final : public WarningSink {
 public:
  void warn(std::string_view, std::string_view) override {}
};

}  // namespace tarvel
