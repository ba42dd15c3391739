#include "app/FailureCause.h"

#include <new>
#include <system_error>

namespace tarvel {

QString failureCause(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    return QStringLiteral("mémoire insuffisante");
  } catch (const std::system_error& error) {
    if (error.code() == std::errc::not_enough_memory) return QStringLiteral("mémoire insuffisante");
    if (error.code() == std::errc::resource_unavailable_try_again) {
      return QStringLiteral("le système n'a plus de ressources libres");
    }
    return QStringLiteral("erreur système %1").arg(error.code().value());
  } catch (const std::exception& error) {
    // The library's own words: rare enough that no translation is kept for them.
    return QStringLiteral("erreur interne (%1)").arg(QString::fromLocal8Bit(error.what()));
  } catch (...) {
    return QStringLiteral("erreur interne");
  }
}

}  // namespace tarvel
