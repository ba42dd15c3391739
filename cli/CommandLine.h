#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listing/ListingOptions.h"

namespace tarvel {

// What the command line asks for. Options not given keep the program's start-up values.
struct CommandLine {
  enum class Action { List, FolderSize, Help, Version };
  Action action = Action::List;
  ListingOptions options;
  std::string path;
  std::optional<std::string> outputFile;
  // Text is the report; JSON and CSV give the same entries as data for scripts.
  enum class Format { Text = 1, Json, Csv };  // as --format names them
  Format format = Format::Text;
};

struct ParsedCommandLine {
  bool ok = true;
  CommandLine command;
  std::string error;  // one French line when !ok
};

// Option names are matched exactly; values follow "=" (and "-o" takes the next argument).
[[nodiscard]] ParsedCommandLine parseCommandLine(const std::vector<std::string_view>& arguments);

// Every option name the parser takes, for the documentation's checks.
std::vector<std::string_view> acceptedOptionNames();

std::string usageText(std::string_view programName);

}  // namespace tarvel
