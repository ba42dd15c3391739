#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The fuzzer's bytes, taken apart: a few flag bits first, then texts cut at NUL bytes.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}

  // The next byte, or 0 when none is left.
  std::uint8_t byte() {
    if (bytes_.empty()) return 0;
    const auto value = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return value;
  }
  // The texts that follow, cut at NUL bytes.
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes_.find('\0', start)) != std::string_view::npos;) {
      out.emplace_back(bytes_.substr(start, end - start));
      start = end + 1;
    }
    out.emplace_back(bytes_.substr(start));
    return out;
  }

 private:
  std::string_view bytes_;
};

}  // namespace tarvel

// A broken property stops the fuzzer with the input that broke it.
#define FUZZ_CHECK(condition) ((condition) ? void() : __builtin_trap())
