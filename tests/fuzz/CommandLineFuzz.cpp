// The command-line parser: any arguments give a command or one French line, and a message never
// carries a control byte to the terminal.
#include "FuzzInput.h"
#include "cli/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvel;
  const auto words = FuzzInput(data, size).texts();
  const std::vector<std::string_view> arguments(words.begin(), words.end());
  const ParsedCommandLine parsed = parseCommandLine(arguments);
  if (!parsed.ok) {
    FUZZ_CHECK(!parsed.error.empty());
    for (const char c : parsed.error)
      FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  }
  return 0;
}
