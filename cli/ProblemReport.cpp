#include "cli/ProblemReport.h"

#include <cerrno>

#include "platform/FolderChain.h"
#include "platform/TerminalQuote.h"

namespace tarvel {

ProblemReport::ProblemReport(std::FILE* out, std::string programName) noexcept
    : out_(out), programName_(std::move(programName)) {}

void ProblemReport::folderUnreadable(std::string_view path, int error) {
  // Met again below itself: listed, counted once, not entered.
  if (error == kFolderLoop) {
    tellLine("le dossier " + quotePath(path) + " n'est pas parcouru : " + cause(error));
    return;
  }
  tell("impossible de lire le dossier ", path, error);
}

void ProblemReport::sizeUnreadable(std::string_view path, int error) {
  tell("impossible de lire la taille de ", path, error);
}

void ProblemReport::tell(std::string_view what, std::string_view path, int error) {
  tellLine(std::string(what) + quotePath(path) + " : " + cause(error));
}

void ProblemReport::tellLine(const std::string& message) {
  anyProblem_ = true;
  const std::string line = programName_ + ": " + message + "\n";
  if (progress_ != nullptr) progress_->suspend();
  std::fputs(line.c_str(), out_);
  if (progress_ != nullptr) progress_->resume();
}

std::string ProblemReport::cause(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return "accès refusé";
    case ENOENT:
      return "il n'existe plus";
    case ENOTDIR:
      return "ce n'est plus un dossier";
    case ELOOP:
      return "c'est un lien symbolique, qui n'est pas suivi";
    case ESTALE:
      return "il a été déplacé ou remplacé pendant la lecture";
    case EIO:
      return "erreur d'entrée-sortie";
    case EMFILE:
    case ENFILE:
      return "trop de fichiers ouverts";
    case ENOMEM:
      return "mémoire insuffisante";
    case ENAMETOOLONG:
      return "nom trop long";
    case kFolderLoop:
      return "boucle dans le système de fichiers";
    default:
      return "erreur système " + std::to_string(error);
  }
}

}  // namespace tarvel
