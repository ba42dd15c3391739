#pragma once

namespace tarvel {

// Runs `action` when the scope it lives in ends, however it ends.
template <typename Action>
struct ScopeExit {
  Action action;
  ~ScopeExit() { action(); }
};
template <typename Action>
ScopeExit(Action) -> ScopeExit<Action>;

}  // namespace tarvel
