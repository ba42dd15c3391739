#pragma once

#include <QString>
#include <exception>

namespace tarvel {

// Why work failed, in French, from what it threw: "mémoire insuffisante" when memory ran out.
QString failureCause(const std::exception_ptr& failure);

}  // namespace tarvel
