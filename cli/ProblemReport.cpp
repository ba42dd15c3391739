#include "cli/ProblemReport.h"

#include "platform/FailureCause.h"
#include "platform/FolderChain.h"
#include "platform/TerminalQuote.h"

namespace tarvel {

ProblemReport::ProblemReport(std::FILE* out, std::string programName) noexcept
    : out_(out), programName_(std::move(programName)) {}

void ProblemReport::folderUnreadable(std::string_view path, int error) {
  // Met again below itself: listed, counted once, not entered.
  if (error == kFolderLoop) {
    tellLine("le dossier " + quotePath(path) + " n'est pas parcouru : " + systemErrorCause(error));
    return;
  }
  tell("impossible de lire le dossier ", path, error);
}

void ProblemReport::sizeUnreadable(std::string_view path, int error) {
  tell("impossible de lire la taille de ", path, error);
}

void ProblemReport::tell(std::string_view what, std::string_view path, int error) {
  tellLine(std::string(what) + quotePath(path) + " : " + systemErrorCause(error));
}

void ProblemReport::tellLine(const std::string& message) {
  anyProblem_ = true;
  const std::string line = programName_ + ": " + message + "\n";
  if (progress_ != nullptr) progress_->suspend();
  std::fputs(line.c_str(), out_);
  if (progress_ != nullptr) progress_->resume();
}

}  // namespace tarvel
