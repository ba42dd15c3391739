#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// `text` with \n \t \r \\ and \xHH made into the bytes they stand for.
inline std::string unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char code = text[++i];
    if (const auto at = std::string_view("ntr\\").find(code); at != std::string_view::npos)
      out += "\n\t\r\\"[at];
    if (code == 'x') {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    }
  }
  return out;
}

// The words of `line`, unescaped; "" stands for an empty word.
inline std::vector<std::string> words(std::string_view line) {
  std::vector<std::string> out;
  std::istringstream in{std::string(line)};
  for (std::string word; in >> word;) out.push_back(word == "\"\"" ? "" : unescape(word));
  return out;
}

}  // namespace tarvel
