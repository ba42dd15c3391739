#include "cli/CommandLine.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <utility>

#include "platform/TerminalQuote.h"

namespace tarvel {

namespace {

using Setter = std::function<void(ListingOptions&)>;

const std::map<std::string_view, Setter>& switches() {
  static const std::map<std::string_view, Setter> table = {
      {"--no-subfolders", [](ListingOptions& o) { o.includeSubfolders = false; }},
      {"--no-folders", [](ListingOptions& o) { o.noFolders = true; }},
      {"--no-files", [](ListingOptions& o) { o.noFiles = true; }},
      {"--header", [](ListingOptions& o) { o.includeHeader = true; }},
      {"--footer", [](ListingOptions& o) { o.includeFooter = true; }},
      {"--remove-extension", [](ListingOptions& o) { o.removeExtension = true; }},
      {"--no-capitalize", [](ListingOptions& o) { o.capitalizeNames = false; }},
      {"--jukebox", [](ListingOptions& o) { o.jukeboxMode = true; }},
      {"--no-tree", [](ListingOptions& o) { o.treeStyle = false; }},
      {"--apply-path-to-files", [](ListingOptions& o) { o.applyPathOptionsToFiles = true; }},
      {"--no-separator", [](ListingOptions& o) { o.separatorOn = false; }},
      {"--sizes", [](ListingOptions& o) { o.includeFileSize = true; }},
  };
  return table;
}

ParsedCommandLine failure(std::string message) {
  ParsedCommandLine parsed;
  parsed.ok = false;
  parsed.error = std::move(message);
  return parsed;
}

// Sets `chosen` to the value `value` names among `words`, which name the values 1, 2 and 3 in
// that order; returns an error message that lists them, empty when `value` is one of them.
template <typename Value>
std::string choose(std::string_view name, std::string_view value,
                   const std::array<std::string_view, 3>& words, Value& chosen) {
  if (const auto found = std::ranges::find(words, value); found != words.end()) {
    chosen = static_cast<Value>(found - words.begin() + 1);
    return {};
  }
  return "valeur non valide " + quotePath(value) + " pour " + quotePath(name) +
         " (attendu : " + std::string(words[0]) + ", " + std::string(words[1]) + " ou " +
         std::string(words[2]) + ")";
}

// Applies an option that carries a value; returns an error message, empty when all is well.
std::string applyValue(std::string_view name, std::string_view value, CommandLine& command) {
  ListingOptions& options = command.options;
  if (name == "--extensions") {
    options.extensionFilterOn = true;
    options.extensionFilter = value;
  } else if (name == "--separator") {
    options.separatorText = value;
  } else if (name == "--separator-after") {
    return choose(name, value, {"name", "all", "non-empty"}, options.separatorPlacement);
  } else if (name == "--path") {
    return choose(name, value, {"none", "relative", "absolute"}, options.pathMode);
  } else if (name == "--format") {
    return choose(name, value, {"text", "json", "csv"}, command.format);
  } else if (name == "--output") {
    if (value.empty()) return "l'option " + quotePath(name) + " demande un nom de fichier";
    command.outputFile = std::string(value);
  } else {
    return "option inconnue " + quotePath(name);
  }
  return {};
}

constexpr std::array<std::string_view, 6> kValueOptions = {
    "--extensions", "--separator", "--separator-after", "--path", "--format", "--output"};

bool takesValue(std::string_view name) {
  return std::ranges::find(kValueOptions, name) != kValueOptions.end();
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string_view>& arguments) {
  ParsedCommandLine parsed;
  CommandLine& command = parsed.command;
  std::vector<std::string_view> paths;
  // Options that shape a listing mean nothing to the folder size; naming one is a mistake.
  std::string_view listingOption;
  bool folderSize = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument.front() != '-') {
      paths.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "-h" || argument == "--help") {
      command.action = CommandLine::Action::Help;
    } else if (argument == "--version") {
      command.action = CommandLine::Action::Version;
    } else if (argument == "--folder-size") {
      folderSize = true;
    } else if (argument.starts_with("-o")) {
      if (listingOption.empty()) listingOption = "-o";
      std::string_view file = argument.substr(2);
      if (file.empty()) {
        if (i + 1 == arguments.size()) return failure("l'option « -o » demande un nom de fichier");
        file = arguments[++i];
      }
      if (auto error = applyValue("--output", file, command); !error.empty()) {
        return failure(error);
      }
    } else {
      const auto equals = argument.find('=');
      const std::string_view name = argument.substr(0, equals);
      if (const auto found = switches().find(name); found != switches().end()) {
        if (equals != std::string_view::npos) {
          return failure("l'option " + quotePath(name) + " ne prend pas de valeur");
        }
        found->second(command.options);
        if (name != "--no-subfolders" && listingOption.empty()) listingOption = name;
      } else if (!takesValue(name)) {
        return failure("option inconnue " + quotePath(name));
      } else if (equals == std::string_view::npos) {
        return failure("l'option " + quotePath(name) + " demande une valeur (" + std::string(name) +
                       "=...)");
      } else if (auto error = applyValue(name, argument.substr(equals + 1), command);
                 !error.empty()) {
        return failure(error);
      } else if (listingOption.empty()) {
        listingOption = name;
      }
    }
  }
  if (command.action != CommandLine::Action::List) return parsed;
  if (folderSize) {
    if (!listingOption.empty()) {
      return failure("l'option " + quotePath(listingOption) +
                     " ne s'emploie pas avec « --folder-size »");
    }
    command.action = CommandLine::Action::FolderSize;
  }
  if (paths.empty()) return failure("aucun chemin indiqué");
  if (paths.size() > 1)
    return failure("un seul chemin est attendu, " + std::to_string(paths.size()) +
                   " ont été donnés");
  if (paths.front().empty()) return failure("le chemin indiqué est vide");
  command.path = std::string(paths.front());
  return parsed;
}

std::vector<std::string_view> acceptedOptionNames() {
  std::vector<std::string_view> names = {"-h", "--help", "--version", "--folder-size", "-o"};
  for (const auto& entry : switches()) names.push_back(entry.first);
  names.insert(names.end(), kValueOptions.begin(), kValueOptions.end());
  return names;
}

std::string usageText(std::string_view programName) {
  const std::string program(programName);
  std::string usage = "Utilisation : " + program + " [OPTION]... CHEMIN\n";
  usage += "  ou :        " + program + " --folder-size [--no-subfolders] CHEMIN\n";
  usage += R"(Écrit sur la sortie standard la liste des fichiers du dossier CHEMIN (ou la ligne
du fichier CHEMIN), octet pour octet comme la fenêtre de Tarvelinquistombrel la produit
avec le bouton « Extraction ». Sans option, les réglages de démarrage s'appliquent.

Contenu :
      --no-subfolders        ne pas descendre dans les sous-répertoires
      --no-folders           ne pas écrire les lignes des répertoires
      --no-files             ne pas écrire les lignes des fichiers
      --extensions=MOTIFS    ne garder que les fichiers de ces extensions
                             (ex. « *.mp3;*.ogg » ; vide : aucun fichier)
Mise en forme :
      --header               inclure le haut de page (avec la date)
      --footer               inclure le bas de page (nombres de fichiers et dossiers)
      --remove-extension     retirer l'extension des fichiers
      --no-capitalize        garder la casse des noms
      --jukebox              extraction spéciale JukeBox/Mp3s
      --no-tree              pas d'extraction de type arborescente
      --path=none|relative|absolute
                             pas de chemin, chemin relatif ou chemin absolu
      --apply-path-to-files  appliquer les options de chemins aux fichiers
      --sizes                inclure la taille des fichiers (en octets)
      --no-separator         pas de séparateur de répertoire
      --separator=TEXTE      séparateur (par défaut « %-/ » : un trait sous le nom)
      --separator-after=name|all|non-empty
                             après le nom du répertoire, après tous les
                             répertoires, après un répertoire non vide
Taille :
      --folder-size          écrire seulement la taille de CHEMIN (avec
                             --no-subfolders : sans ses sous-répertoires)
Sortie :
      --format=text|json|csv
                             le rapport (par défaut), ou les mêmes entrées en
                             données : un document JSON en arbre, ou un CSV
                             (chemin, type, taille, date de modification) ;
                             la mise en forme du texte y est sans effet
  -o, --output=FICHIER       écrire dans FICHIER (remplacé sans risque) au lieu
                             de la sortie standard
  -h, --help                 afficher cette aide
      --version              afficher la version

La date du haut de page est l'heure locale, ou l'instant SOURCE_DATE_EPOCH
(secondes depuis 1970) quand cette variable est définie.
Ce qui ne peut être lu (dossier, taille d'un fichier) est signalé sur la sortie
d'erreur, une ligne chacun ; la liste reste complète, ces dossiers y sont vides.

Code de sortie :
  0  tout va bien ;
  1  CHEMIN n'existe pas, CHEMIN/ n'est pas un dossier, la sortie ne peut être
     écrite, ou quelque chose dans CHEMIN n'a pu être lu ;
  2  la ligne de commande est incorrecte.
)";
  return usage;
}

}  // namespace tarvel
