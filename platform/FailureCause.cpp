#include "platform/FailureCause.h"

#include <cerrno>
#include <new>
#include <system_error>

#include "platform/FolderChain.h"

namespace tarvel {

std::string systemErrorCause(int error) {
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
    case EAGAIN:
      return "le système n'a plus de ressources libres";
    case ENAMETOOLONG:
      return "nom trop long";
    case kFolderLoop:
      return "boucle dans le système de fichiers";
    default:
      return "erreur système " + std::to_string(error);
  }
}

std::string failureCause(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    return systemErrorCause(ENOMEM);
  } catch (const std::system_error& error) {
    return systemErrorCause(error.code().value());
  } catch (const std::exception& error) {
    return std::string("erreur inattendue : ") + error.what();
  } catch (...) {
    return "erreur inattendue";
  }
}

}  // namespace tarvel
