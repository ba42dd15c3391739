#pragma once

#include <exception>
#include <string>

namespace tarvel {

// Why, in French, from an errno value: "accès refusé", "mémoire insuffisante"...
std::string systemErrorCause(int error);

// Why work failed, in French, from what it threw: "mémoire insuffisante" when memory ran out,
// the cause of a system error, "erreur inattendue" for anything else. Memory running short is
// best told without allocating: callers that must not allocate catch std::bad_alloc first.
std::string failureCause(const std::exception_ptr& failure);

}  // namespace tarvel
