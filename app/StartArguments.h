#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvel {

// What the window's command line asks for, once Qt has taken its own options out: the folder
// or file the tree opens on (one path at most), the help or the version.
struct StartArguments {
  bool help = false;
  bool version = false;
  std::string unknownOption;       // the first option the window does not know; empty: none
  std::vector<std::string> paths;  // as given: absolute, or relative to the working folder
};

[[nodiscard]] StartArguments parseStartArguments(int argc, const char* const* argv);

// "--help" and "--version", answered on standard output before Qt starts, so that neither needs
// a display: the program's exit status when one was asked for, nullopt otherwise.
[[nodiscard]] std::optional<int> answerWithoutWindow(int argc, const char* const* argv);

// An option the window does not know, told on standard error as the command line tells it;
// returns the exit status.
[[nodiscard]] int refuseUnknownOption(const std::string& option);

}  // namespace tarvel
