#include "server/text_collation.h"

#include <array>

namespace server {

namespace {

// Base letters of U+00C0..U+00FF; 0 where the character is not a letter with an accent.
constexpr std::array<char, 64> kLatin1Base = {
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',  // C0-CF
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   0,    // D0-DF
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',  // E0-EF
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   'y',  // F0-FF
};

}  // namespace

std::string foldForSorting(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
      continue;
    }
    // Two-byte sequences 0xC3 0x80..0xBF encode U+00C0..U+00FF.
    if (c == 0xC3 && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if (next >= 0x80 && next <= 0xBF) {
        const char base = kLatin1Base[next - 0x80];
        if (base != 0) {
          out.push_back(base);
          ++i;
          continue;
        }
      }
    }
    out.push_back(static_cast<char>(c));
  }
  return out;
}

int compareForSorting(std::string_view a, std::string_view b) {
  const int folded = foldForSorting(a).compare(foldForSorting(b));
  if (folded != 0)
    return folded;
  return a.compare(b);
}

}  // namespace server
