// tarvelinquistombrel-cli: the listing of a folder, byte for byte as the window makes it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ProblemReport.h"
#include "cli/StructuredListing.h"
#include "cli/TerminalProgress.h"
#include "listing/FolderSize.h"
#include "listing/ListingRun.h"
#include "listing/PathArgument.h"
#include "platform/FailureCause.h"
#include "platform/FileError.h"
#include "platform/FullWrite.h"
#include "platform/SafeFileWriter.h"
#include "platform/TerminalQuote.h"
#include "platform/Version.h"

namespace tarvel {

constexpr const char* kProgramName = "tarvelinquistombrel-cli";
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr const char* kCannotWrite = "impossible d'écrire sur la sortie standard";

namespace {

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

// Whether standard output is the terminal standard error is, where the progress line would
// land among the report's lines.
bool outputSharesTheTerminal() {
  struct stat output {};
  struct stat error {};
  return ::isatty(STDOUT_FILENO) && ::fstat(STDOUT_FILENO, &output) == 0 &&
         ::fstat(STDERR_FILENO, &error) == 0 && output.st_rdev == error.st_rdev;
}

// The report goes to standard output piece by piece while the walk writes it; a progress line
// on the same terminal steps aside for each piece.
class StandardOutput final : public ReportOutput {
 public:
  void write(std::string_view piece) override {
    if (progress_ != nullptr) progress_->suspend();
    if (ok_) ok_ = writeFully(STDOUT_FILENO, piece) == 0;
    if (progress_ != nullptr) progress_->resume();
  }
  bool ok() const { return ok_; }
  void setProgress(TerminalProgress* progress) { progress_ = progress; }

 private:
  bool ok_ = true;
  TerminalProgress* progress_ = nullptr;
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
    if (outputSharesTheTerminal()) output.setProgress(progress.get());
  }
  run->run(selected, command.options);
  if (progress) progress->finish();
  // The report is whole all the same: what could not be read is listed as empty.
  const int status = problems.anyProblem() ? kExitFailure : 0;

  if (command.outputFile) {
    // Opened as given, from the working folder however deep; its full path is only for the message.
    const FileWriteResult result =
        replaceFileContents(*command.outputFile, run->report(), PipeReader::WaitForOne);
    if (!result.ok) {
      const std::string shown =
          absoluteFromWorkingFolder(*command.outputFile).value_or(*command.outputFile);
      return failure(fileErrorMessage(result.cause, quotePath(shown)));
    }
    return status;
  }
  output.write(run->report());
  if (!output.ok()) return failure(kCannotWrite);
  return status;
}

}  // namespace tarvel

// No exception ends the program unexplained: memory running short or a failure nothing else
// caught gets its French line and status 1, and an output file named by -o stays as it was,
// since it is replaced only once the report is whole.
int main(int argc, char** argv) {
  try {
    return tarvel::runCommandLine(argc, argv);
  } catch (const std::bad_alloc&) {
    // Nothing more is allocated to say it.
    std::fprintf(stderr, "%s: mémoire insuffisante\n", tarvel::kProgramName);
  } catch (...) {
    std::fprintf(stderr, "%s: %s\n", tarvel::kProgramName,
                 tarvel::failureCause(std::current_exception()).c_str());
  }
  return tarvel::kExitFailure;
}
