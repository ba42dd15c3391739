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

// What a walk or a folder size could not read. The listing goes on without it; the command line
// names each on standard error, the window lists such folders as empty.
class ReadProblems {
 public:
  virtual ~ReadProblems() = default;
  // The folder at `path` could not be opened or read to its end; `error` is an errno value.
  virtual void folderUnreadable(std::string_view path, int error) = 0;
  // The size of the file at `path` could not be read.
  virtual void sizeUnreadable(std::string_view path, int error) = 0;
};

// Takes a report piece by piece while it is written, so that a long one is never held whole
// (the command line writing to its output); the pieces, joined, are the report's bytes.
class ReportOutput {
 public:
  virtual ~ReportOutput() = default;
  virtual void write(std::string_view piece) = 0;
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
