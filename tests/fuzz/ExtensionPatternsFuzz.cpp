// The extension filter: any filter text and file name, matched in either letter case alike.
#include "FuzzInput.h"
#include "listing/ExtensionPatterns.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvel;
  const auto texts = FuzzInput(data, size).texts();
  ExtensionPatterns patterns;
  patterns.rebuild(texts[0]);
  const std::string name = texts.size() > 1 ? texts[1] : texts[0];
  std::string upper = name;
  std::string lower = name;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c >= 'a' && c <= 'z') upper[i] = static_cast<char>(c - 32);
    if (c >= 'A' && c <= 'Z') lower[i] = static_cast<char>(c + 32);
  }
  const bool kept = patterns.matchesFileName(name);
  FUZZ_CHECK(patterns.matchesFileName(upper) == kept);
  FUZZ_CHECK(patterns.matchesFileName(lower) == kept);
  return 0;
}
