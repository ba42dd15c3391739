#include "platform/FileError.h"

#include <cerrno>

namespace tarvel {

FileErrorCause classifyErrno(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return FileErrorCause::AccessDenied;
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
      return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE:
      return FileErrorCause::TooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
      return FileErrorCause::DiskFull;
    case EIO:
      return FileErrorCause::HardwareError;
    case ETXTBSY:
      return FileErrorCause::SharingViolation;
    default:
      return FileErrorCause::Unknown;
  }
}

std::string fileErrorMessage(FileErrorCause cause, std::string_view fullPath) {
  std::string_view before;
  std::string_view after;
  switch (cause) {
    case FileErrorCause::Unknown:
      before = "Une erreur inconnue s'est produite lors de l'accès à ", after = ".";
      break;
    case FileErrorCause::NotFound:
      before = "Impossible de trouver ", after = ".";
      break;
    case FileErrorCause::BadPath:
      before = "", after = " contient un chemin non valide.";
      break;
    case FileErrorCause::TooManyOpenFiles:
      before = "Impossible d'ouvrir ", after = " car il y a trop de fichiers ouverts.";
      break;
    case FileErrorCause::AccessDenied:
      before = "L'accès à ", after = " a été refusé.";
      break;
    case FileErrorCause::HardwareError:
      before = "Une erreur d'E/S matérielle a été reportée lors de l'accès à ", after = ".";
      break;
    case FileErrorCause::SharingViolation:
      before = "Une violation de partage s'est produite lors de l'accès à ", after = ".";
      break;
    case FileErrorCause::DiskFull:
      before = "Disque plein lors de l'accès à ", after = ".";
      break;
  }
  std::string message(before);
  message.append(fullPath);
  message.append(after);
  return message;
}

}  // namespace tarvel
