#include "app/StartArguments.h"

#include <unistd.h>

#include <cstdio>
#include <string_view>

#include "platform/FullWrite.h"
#include "platform/TerminalQuote.h"
#include "platform/Version.h"

namespace tarvel {

namespace {

constexpr std::string_view kProgramName = "tarvelinquistombrel";
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    R"(Utilisation : tarvelinquistombrel [OPTION]... [CHEMIN]
Ouvre la fenêtre qui écrit la liste des fichiers d'un dossier en texte brut.
L'arborescence s'ouvre jusqu'à CHEMIN, un dossier ou un fichier (absolu, ou relatif au
dossier de travail), et le sélectionne ; sans CHEMIN, sur le dossier personnel.

  -h, --help     affiche cette aide et quitte
      --version  affiche la version et quitte

Les options communes des programmes Qt sont acceptées (-platform, -style...).
La même liste s'obtient sans fenêtre avec tarvelinquistombrel-cli.
)";

}  // namespace

StartArguments parseStartArguments(int argc, const char* const* argv) {
  StartArguments start;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (optionsEnded || argument.size() < 2 || argument.front() != '-') {
      start.paths.emplace_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "-h" || argument == "--help") {
      start.help = true;
    } else if (argument == "--version") {
      start.version = true;
    } else if (start.unknownOption.empty()) {
      start.unknownOption = argument.substr(0, argument.find('='));
    }
  }
  return start;
}

std::optional<int> answerWithoutWindow(int argc, const char* const* argv) {
  const StartArguments start = parseStartArguments(argc, argv);
  std::string answer;
  if (start.help) {
    answer = kUsage;
  } else if (start.version) {
    answer = std::string(kProgramName) + " " + std::string(kVersion) + "\n";
  } else {
    return std::nullopt;
  }
  if (writeFully(STDOUT_FILENO, answer) == 0) return 0;
  std::fprintf(stderr, "%s: impossible d'écrire sur la sortie standard\n", kProgramName.data());
  return kExitFailure;
}

int refuseUnknownOption(const std::string& option) {
  std::fprintf(stderr, "%s: option inconnue %s\nEssayez « %s --help » pour plus d'informations.\n",
               kProgramName.data(), quotePath(option).c_str(), kProgramName.data());
  return kExitUsage;
}

}  // namespace tarvel
