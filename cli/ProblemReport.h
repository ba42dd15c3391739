#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/TerminalProgress.h"
#include "listing/WalkObservers.h"

namespace tarvel {

// Tells on standard error, one French line each, what a listing or a folder size could not
// read, as `du` and `find` do, and remembers that something was missed (the exit status).
class ProblemReport final : public ReadProblems {
 public:
  ProblemReport(std::FILE* out, std::string programName) noexcept;

  void folderUnreadable(std::string_view path, int error) override;
  void sizeUnreadable(std::string_view path, int error) override;
  // A progress line on the terminal, erased before each message and shown again after it.
  void setProgress(TerminalProgress* progress) { progress_ = progress; }
  bool anyProblem() const { return anyProblem_; }

 private:
  void tell(std::string_view what, std::string_view path, int error);
  void tellLine(const std::string& message);

  std::FILE* out_;
  std::string programName_;
  TerminalProgress* progress_ = nullptr;
  bool anyProblem_ = false;
};

}  // namespace tarvel
