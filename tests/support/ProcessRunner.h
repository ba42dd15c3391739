#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarvel {

struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  bool operator==(const ProcessResult&) const = default;
};

// How a failed expectation shows a run.
inline void PrintTo(const ProcessResult& run, std::ostream* out) {
  *out << "exit " << run.exitCode << ", out \"" << run.out << "\", err \"" << run.err << '"';
}

struct ProcessOptions {
  std::vector<std::string> environment;  // extra KEY=VALUE entries
  std::string workingFolder;             // empty: the test's own
  bool unprivileged = false;             // run as "nobody" when the tests run as root
};

// Runs a program to its end, with no standard input, and collects what it wrote.
ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const ProcessOptions& options = {});

// The command-line program under test.
inline constexpr const char* kCliPath = TARVEL_CLI_PATH;
ProcessResult runCli(const std::vector<std::string>& arguments, const ProcessOptions& options = {});

// Runs `work` in a child process and returns what it produced; nullopt when the child failed.
std::optional<std::string> runInChild(const std::function<std::string()>& work);

// Runs `work` in a child process without root's power over permissions and returns what it
// produced; nullopt when privileges cannot be dropped here.
std::optional<std::string> runUnprivileged(const std::function<std::string()>& work);

}  // namespace tarvel
