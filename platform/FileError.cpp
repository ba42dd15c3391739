#include "platform/FileError.h"

#include <cerrno>

namespace tarvel {

FileErrorCause classifyErrno(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ENOTEMPTY:
    case EOPNOTSUPP:
    case EXDEV:
    case ENOSYS:
      return FileErrorCause::AccessDenied;
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EFAULT:
      return FileErrorCause::BadPath;
    case ELOOP:
      return FileErrorCause::LinkLoop;
    case EMFILE:
    case ENFILE:
      return FileErrorCause::TooManyOpenFiles;
    case ENOSPC:
      return FileErrorCause::DiskFull;
    case EDQUOT:
      return FileErrorCause::QuotaExceeded;
    case EFBIG:
    case EOVERFLOW:
      return FileErrorCause::FileTooLarge;
    case ENXIO:
    case ENODEV:
      return FileErrorCause::NoDevice;
    case EPIPE:
    case ECONNRESET:
      return FileErrorCause::ReaderGone;
    case EMLINK:
      return FileErrorCause::DirectoryFull;
    case EIO:
    case ESTALE:
    case EREMOTEIO:
    case ETIMEDOUT:
    case ENOLINK:
    case EUCLEAN:
      return FileErrorCause::HardwareError;
    case ETXTBSY:
    case EBUSY:
    case EEXIST:
      return FileErrorCause::SharingViolation;
    case EAGAIN:
    case EDEADLK:
    case ENOLCK:
      return FileErrorCause::LockViolation;
    case ENOMEM:
      return FileErrorCause::OutOfMemory;
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
    case FileErrorCause::DirectoryFull:
      before = "Impossible de créer ", after = " car le répertoire est plein.";
      break;
    case FileErrorCause::LockViolation:
      before = "Une violation de verrouillage s'est produite lors de l'accès à ", after = ".";
      break;
    case FileErrorCause::LinkLoop:
      before = "", after = " mène à une boucle de liens symboliques.";
      break;
    case FileErrorCause::OutOfMemory:
      before = "Mémoire insuffisante lors de l'accès à ", after = ".";
      break;
    case FileErrorCause::FileTooLarge:
      before = "Fichier trop volumineux : ", after = " dépasserait la taille permise.";
      break;
    case FileErrorCause::QuotaExceeded:
      before = "Quota de disque dépassé lors de l'accès à ", after = ".";
      break;
    case FileErrorCause::NoDevice:
      before = "", after = " ne mène à aucun fichier ni périphérique où écrire (une socket ?).";
      break;
    case FileErrorCause::ReaderGone:
      before = "Le lecteur de ", after = " s'est arrêté avant la fin de l'écriture.";
      break;
    case FileErrorCause::NoReader:
      before = "", after = " est un tube qu'aucun programme ne lit : rien n'y a été écrit.";
      break;
  }
  std::string message(before);
  message.append(fullPath);
  message.append(after);
  return message;
}

}  // namespace tarvel
