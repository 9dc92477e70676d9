#include "packet/name_order.h"

#include <algorithm>
#include <array>

namespace packet {

namespace {

// Base letters of U+00C0..U+00FF; 0 where the character is not a letter with an accent.
constexpr std::array<char, 64> kLatin1Base = {
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',  // C0-CF
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   0,    // D0-DF
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',  // E0-EF
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   'y',  // F0-FF
};

// Reads the folded character at `i` and moves `i` past the bytes it came from.
char nextFolded(std::string_view text, size_t& i) {
  const auto c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) {
    ++i;
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  // Two-byte sequences 0xC3 0x80..0xBF encode U+00C0..U+00FF.
  if (c == 0xC3 && i + 1 < text.size()) {
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if (next >= 0x80 && next <= 0xBF && kLatin1Base[next - 0x80] != 0) {
      i += 2;
      return kLatin1Base[next - 0x80];
    }
  }
  ++i;
  return static_cast<char>(c);
}

}  // namespace

std::string foldForSorting(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();)
    out.push_back(nextFolded(text, i));
  return out;
}

int compareForSorting(std::string_view a, std::string_view b) {
  // Folds as it goes: ORDER BY calls this for every comparison, so nothing is allocated.
  // Names sorted side by side share long beginnings; bytes equal in both fold alike, so the
  // folding starts at the character where the two first differ.
  const size_t shorter = std::min(a.size(), b.size());
  size_t common = static_cast<size_t>(
      std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(shorter), b.begin()).first -
      a.begin());
  // Back to where a character starts in both: a byte that continues a character may fold
  // together with the one before it.
  const auto continues = [](std::string_view text, size_t at) {
    return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
  };
  while (common > 0 && (continues(a, common) || continues(b, common)))
    --common;
  size_t i = common;
  size_t j = common;
  while (i < a.size() && j < b.size()) {
    const auto x = static_cast<unsigned char>(nextFolded(a, i));
    const auto y = static_cast<unsigned char>(nextFolded(b, j));
    if (x != y)
      return x < y ? -1 : 1;
  }
  if (i < a.size())
    return 1;
  if (j < b.size())
    return -1;
  return a.compare(b);
}

}  // namespace packet
