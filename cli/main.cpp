// tarvelinquistombrel-cli: the listing of a folder, byte for byte as the window makes it.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/PathArgument.h"
#include "cli/ProblemReport.h"
#include "cli/StructuredListing.h"
#include "cli/TerminalProgress.h"
#include "listing/FolderSize.h"
#include "listing/ListingRun.h"
#include "platform/FileError.h"
#include "platform/FullWrite.h"
#include "platform/SafeFileWriter.h"
#include "platform/TerminalQuote.h"
#include "platform/Version.h"

namespace tarvel {
namespace {

constexpr const char* kProgramName = "tarvelinquistombrel-cli";
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr const char* kCannotWrite = "impossible d'écrire sur la sortie standard";

int usageError(const std::string& message) {
  std::fprintf(stderr, "%s: %s\nEssayez « %s --help » pour plus d'informations.\n", kProgramName,
               message.c_str(), kProgramName);
  return kExitUsage;
}

int failure(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgramName, message.c_str());
  return kExitFailure;
}

// The header's date: now, or SOURCE_DATE_EPOCH for listings that must be reproducible.
bool headerClock(Clock& clock, std::string& error) {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch == nullptr) return true;
  // Whole seconds from 1970 up to the year 9999; anything else is a mistake worth reporting.
  constexpr long long kLastSecond = 253402300799;
  const std::string_view digits(epoch);
  long long seconds = 0;
  bool valid = !digits.empty() && digits.size() <= 12;
  for (const char c : digits) {
    valid = valid && c >= '0' && c <= '9';
    if (valid) seconds = seconds * 10 + (c - '0');
  }
  if (!valid || seconds > kLastSecond) {
    error = "SOURCE_DATE_EPOCH doit être un nombre de secondes, pas " + quotePath(epoch);
    return false;
  }
  clock = [seconds] { return static_cast<std::time_t>(seconds); };
  return true;
}

bool writeToStandardOutput(const std::string& bytes) {
  return writeFully(STDOUT_FILENO, bytes) == 0;
}

// The report goes to standard output piece by piece while the walk writes it.
class StandardOutput final : public ReportOutput {
 public:
  void write(std::string_view piece) override {
    if (ok_) ok_ = writeFully(STDOUT_FILENO, piece) == 0;
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = true;
};

}  // namespace

int runCommandLine(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const ParsedCommandLine parsed = parseCommandLine(arguments);
  if (!parsed.ok) return usageError(parsed.error);
  const CommandLine& command = parsed.command;
  if (command.action == CommandLine::Action::Help) {
    return writeToStandardOutput(usageText(kProgramName)) ? 0 : failure(kCannotWrite);
  }
  if (command.action == CommandLine::Action::Version) {
    const std::string version = std::string(kProgramName) + " " + std::string(kVersion) + "\n";
    return writeToStandardOutput(version) ? 0 : failure(kCannotWrite);
  }

  Clock clock = systemClock();
  if (std::string error; !headerClock(clock, error)) return usageError(error);

  const PathArgument argument = resolvePathArgument(command.path);
  if (!argument.ok) return failure(argument.error);
  const SelectedItem& selected = argument.item;
  ProblemReport problems(stderr, kProgramName);

  if (command.action == CommandLine::Action::FolderSize) {
    // The item's kind decides: a folder is always summed as one, whatever it holds.
    const auto total =
        sumFolderSize(selected.path, selected.kind == ItemKind::File,
                      command.options.includeSubfolders, {}, &problems, selected.reach);
    if (!writeToStandardOutput(sizeLine(total) + "\n")) return failure(kCannotWrite);
    return problems.anyProblem() ? kExitFailure : 0;
  }

  if (command.format != CommandLine::Format::Text) {
    StandardOutput output;
    const std::string saveError = writeStructuredListing(command, selected, problems, output);
    if (!saveError.empty()) return failure(saveError);
    if (!output.ok()) return failure(kCannotWrite);
    return problems.anyProblem() ? kExitFailure : 0;
  }

  auto run = std::make_unique<ListingRun>();
  run->setClock(clock);
  run->setProblemSink(&problems);
  StandardOutput output;
  if (!command.outputFile) run->setOutput(&output);
  std::unique_ptr<TerminalProgress> progress;
  if (::isatty(STDERR_FILENO)) {
    progress = std::make_unique<TerminalProgress>(stderr, run->state());
    run->setProgressSink(progress.get());
    problems.setProgress(progress.get());
  }
  run->run(selected, command.options);
  if (progress) progress->finish();
  // The report is whole all the same: what could not be read is listed as empty.
  const int status = problems.anyProblem() ? kExitFailure : 0;

  if (command.outputFile) {
    const std::string target =
        absoluteFromWorkingFolder(*command.outputFile).value_or(*command.outputFile);
    const FileWriteResult result = replaceFileContents(target, run->report());
    if (!result.ok) return failure(fileErrorMessage(result.cause, quotePath(target)));
    return status;
  }
  output.write(run->report());
  if (!output.ok()) return failure(kCannotWrite);
  return status;
}

}  // namespace tarvel

int main(int argc, char** argv) {
  return tarvel::runCommandLine(argc, argv);
}
