// tarvelinquistombrel-cli: the listing of a folder, byte for byte as the window makes it.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/TerminalProgress.h"
#include "listing/FolderSize.h"
#include "listing/ListingRun.h"
#include "platform/FileError.h"
#include "platform/FullWrite.h"
#include "platform/PathRules.h"
#include "platform/SafeFileWriter.h"
#include "platform/TerminalQuote.h"
#include "platform/Version.h"

namespace tarvel {
namespace {

constexpr const char* kProgramName = "tarvelinquistombrel-cli";
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

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

// `path` made absolute against the working folder, as text, so that an error message names
// the file in full; nullopt when a relative path has no working folder to start from.
std::optional<std::string> absolute(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  auto folder = currentFolder();
  if (!folder) return std::nullopt;
  if (*folder == "/") folder->clear();  // the root's path is the empty text
  appendPathComponent(*folder, path);
  return folder;
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

}  // namespace

int runCommandLine(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const ParsedCommandLine parsed = parseCommandLine(arguments);
  if (!parsed.ok) return usageError(parsed.error);
  const CommandLine& command = parsed.command;
  if (command.action == CommandLine::Action::Help) {
    std::fputs(usageText(kProgramName).c_str(), stdout);
    return 0;
  }
  if (command.action == CommandLine::Action::Version) {
    std::printf("%s %.*s\n", kProgramName, static_cast<int>(kVersion.size()), kVersion.data());
    return 0;
  }

  Clock clock = systemClock();
  if (std::string error; !headerClock(clock, error)) return usageError(error);

  SelectedItem selected;
  const auto listed = absolute(command.path);
  if (!listed) {
    return failure("le dossier de travail n'existe plus : " + quotePath(command.path) +
                   " ne peut être trouvé");
  }
  selected.path = normalizeAbsolute(*listed, "");
  selected.text = displayName(selected.path);
  struct stat info {};
  if (::stat(displayPath(selected.path).data(), &info) != 0) {
    const int error = errno;
    const auto cause = error == ENOENT ? FileErrorCause::NotFound : classifyErrno(error);
    return failure(fileErrorMessage(cause, quotePath(displayPath(selected.path))));
  }
  selected.kind = S_ISDIR(info.st_mode) ? ItemKind::Folder : ItemKind::File;

  if (command.action == CommandLine::Action::FolderSize) {
    // The item's kind decides: a folder is always summed as one, whatever it holds.
    const auto total = sumFolderSize(selected.path, selected.kind == ItemKind::File,
                                     command.options.includeSubfolders);
    if (!writeToStandardOutput(sizeLine(total) + "\n")) {
      return failure("impossible d'écrire sur la sortie standard");
    }
    return 0;
  }

  auto run = std::make_unique<ListingRun>();
  run->setClock(clock);
  std::unique_ptr<TerminalProgress> progress;
  if (::isatty(STDERR_FILENO)) {
    progress = std::make_unique<TerminalProgress>(stderr, run->state());
    run->setProgressSink(progress.get());
  }
  run->run(selected, command.options);
  if (progress) progress->finish();

  if (command.outputFile) {
    const std::string target = absolute(*command.outputFile).value_or(*command.outputFile);
    const FileWriteResult result = replaceFileContents(target, run->report());
    if (!result.ok) return failure(fileErrorMessage(result.cause, quotePath(target)));
    return 0;
  }
  if (!writeToStandardOutput(run->report())) {
    return failure("impossible d'écrire sur la sortie standard");
  }
  return 0;
}

}  // namespace tarvel

int main(int argc, char** argv) {
  return tarvel::runCommandLine(argc, argv);
}
