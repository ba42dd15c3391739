#include "cli/ProblemReport.h"

#include <cerrno>

#include "platform/TerminalQuote.h"

namespace tarvel {

ProblemReport::ProblemReport(std::FILE* out, std::string programName) noexcept
    : out_(out), programName_(std::move(programName)) {}

void ProblemReport::folderUnreadable(std::string_view path, int error) {
  tell("impossible de lire le dossier ", path, error);
}

void ProblemReport::sizeUnreadable(std::string_view path, int error) {
  tell("impossible de lire la taille de ", path, error);
}

void ProblemReport::tell(std::string_view what, std::string_view path, int error) {
  anyProblem_ = true;
  if (progress_ != nullptr) progress_->finish();
  const std::string line =
      programName_ + ": " + std::string(what) + quotePath(path) + " : " + cause(error) + "\n";
  std::fputs(line.c_str(), out_);
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
    default:
      return "erreur système " + std::to_string(error);
  }
}

}  // namespace tarvel
