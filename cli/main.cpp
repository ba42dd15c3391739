// tarvelinquistombrel-cli: the listing of a folder, byte for byte as the window makes it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ProblemReport.h"
#include "cli/TerminalProgress.h"
#include "listing/FolderSize.h"
#include "listing/ListingRun.h"
#include "platform/FileError.h"
#include "platform/FullWrite.h"
#include "platform/OpenFolder.h"
#include "platform/PathRules.h"
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

// The working folder, or nullopt when it has none (it was removed): a relative path then
// means nothing, and taking it from "/" would list or write somewhere else entirely.
std::optional<std::string> currentFolder() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::nullopt;
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.data());
}

// `path` made absolute against the working folder, as text, so that the report and the messages
// name it in full; nullopt when a relative path has no working folder to start from.
std::optional<std::string> absolute(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  auto folder = currentFolder();
  if (!folder) return std::nullopt;
  if (*folder == "/") folder->clear();  // the root's path is the empty text
  appendPathComponent(*folder, path);
  return folder;
}

// Where the text of `path` ends its last ".." component; 0 when it has none.
std::size_t afterLastParentStep(std::string_view path) {
  std::size_t end = 0;
  for (std::size_t start = 0; start < path.size();) {
    const std::size_t stop = std::min(path.find('/', start), path.size());
    if (path.substr(start, stop - start) == "..") end = stop;
    start = stop + 1;
  }
  return end;
}

// The full path of the folder the file system reaches by `path`, up to and including its last
// "..": the folder above the one reached before it, through links, as `cd -P` goes up.
bool physicalFolder(const std::string& path, std::string& full, int& error) {
  const int folder = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) {
    error = errno;
    return false;
  }
  const int here = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
  std::optional<std::string> reached;
  if (here >= 0 && ::fchdir(folder) == 0) {
    reached = currentFolder();
    if (::fchdir(here) != 0) reached.reset();
  }
  error = errno;
  ::close(folder);
  if (here >= 0) ::close(here);
  if (!reached) return false;
  full = *reached == "/" ? std::string() : *reached;
  return true;
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

FileErrorCause causeOf(int error) {
  return error == ENOENT ? FileErrorCause::NotFound : classifyErrno(error);
}

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

  SelectedItem selected;
  selected.reach = command.path;
  const auto listed = absolute(command.path);
  if (!listed) {
    return failure("le dossier de travail n'existe plus : " + quotePath(command.path) +
                   " ne peut être trouvé");
  }
  int error = 0;
  if (const std::size_t stepsEnd = afterLastParentStep(command.path); stepsEnd > 0) {
    std::string above;
    if (!physicalFolder(command.path.substr(0, stepsEnd), above, error)) {
      return failure(fileErrorMessage(causeOf(error), quotePath(*listed)));
    }
    const std::size_t rest = command.path.find_first_not_of('/', stepsEnd);
    selected.path =
        normalizeAbsolute(rest == std::string::npos ? std::string_view{}
                                                    : std::string_view(command.path).substr(rest),
                          above);
  } else {
    selected.path = normalizeAbsolute(*listed, "");
  }
  selected.text = displayName(selected.path);
  const std::string shown = quotePath(displayPath(selected.path));
  struct stat info {};
  if (!statPath(command.path, info, true)) {
    error = errno;
    if (error == ENOTDIR && command.path.ends_with('/'))
      return failure(shown + " n'est pas un dossier.");
    // A link that leads nowhere is an item like any file, as in the window.
    if (error != ENOENT || !statPath(command.path, info, false) || !S_ISLNK(info.st_mode)) {
      return failure(fileErrorMessage(causeOf(error), shown));
    }
  }
  selected.kind = S_ISDIR(info.st_mode) ? ItemKind::Folder : ItemKind::File;
  ProblemReport problems(stderr, kProgramName);

  if (command.action == CommandLine::Action::FolderSize) {
    // The item's kind decides: a folder is always summed as one, whatever it holds.
    const auto total =
        sumFolderSize(selected.path, selected.kind == ItemKind::File,
                      command.options.includeSubfolders, {}, &problems, selected.reach);
    if (!writeToStandardOutput(sizeLine(total) + "\n")) return failure(kCannotWrite);
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
    const std::string target = absolute(*command.outputFile).value_or(*command.outputFile);
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
