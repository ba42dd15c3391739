// Runs a fuzz harness once over each of its saved inputs, so that its properties are checked in
// every test run, with any compiler, on inputs that reach all the code its fuzzing reached.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// The saved inputs: one a line, in hexadecimal.
int main(int argc, char** argv) {
  std::ifstream corpus(argc == 2 ? argv[1] : "");
  int inputs = 0;
  for (std::string line; std::getline(corpus, line); ++inputs) {
    std::vector<std::uint8_t> bytes(line.size() / 2 + 1);  // never empty: data is never null
    for (std::size_t i = 0; i < line.size() / 2; ++i)
      bytes[i] = static_cast<std::uint8_t>(std::stoi(line.substr(2 * i, 2), nullptr, 16));
    LLVMFuzzerTestOneInput(bytes.data(), line.size() / 2);
  }
  std::cout << inputs << " inputs\n";
  return inputs > 0 ? 0 : 1;
}
