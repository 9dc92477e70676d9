// Small text helpers shared by the host services.
#pragma once

#include <string_view>

namespace host {

// The text without the blanks and control characters around it.
inline std::string_view trimBlanks(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (first < last && blank(text[first]))
    ++first;
  while (last > first && blank(text[last - 1]))
    --last;
  return text.substr(first, last - first);
}

}  // namespace host
