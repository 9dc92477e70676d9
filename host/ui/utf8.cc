#include "host/ui/utf8.h"

namespace ui::utf8 {

namespace {

bool isContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

}  // namespace

char32_t decode(std::string_view text, std::size_t& pos) {
  if (pos >= text.size())
    return 0;
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int extra = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    c = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    c = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    c = lead & 0x07;
    minimum = 0x10000;
  } else {
    ++pos;
    return kReplacement;
  }
  if (pos + extra >= text.size()) {
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i <= extra; ++i) {
    const auto b = static_cast<unsigned char>(text[pos + i]);
    if (!isContinuation(b)) {
      ++pos;
      return kReplacement;
    }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += extra + 1;
  return c;
}

void append(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
    c = kReplacement;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string encode(char32_t c) {
  std::string out;
  append(out, c);
  return out;
}

std::size_t length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    decode(text, pos);
    ++count;
  }
  return count;
}

std::string substr(std::string_view text, std::size_t start, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < start && pos < text.size(); ++i)
    decode(text, pos);
  const std::size_t begin = pos;
  for (std::size_t i = 0; i < count && pos < text.size(); ++i)
    decode(text, pos);
  return std::string(text.substr(begin, pos - begin));
}

char32_t toUpper(char32_t c) {
  if (c >= 'a' && c <= 'z')
    return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
    return c - 32;
  if (c == 0xFF)
    return 0x178;
  return c;
}

char32_t toLower(char32_t c) {
  if (c >= 'A' && c <= 'Z')
    return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
    return c + 32;
  if (c == 0x178)
    return 0xFF;
  return c;
}

namespace {

template <typename Convert>
std::string convert(std::string_view text, Convert fn) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();)
    append(out, fn(decode(text, pos)));
  return out;
}

}  // namespace

std::string toUpper(std::string_view text) {
  return convert(text, [](char32_t c) { return toUpper(c); });
}

std::string toLower(std::string_view text) {
  return convert(text, [](char32_t c) { return toLower(c); });
}

bool isLetter(char32_t c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
    return true;
  if (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7)
    return true;
  return c == 0x178;
}

bool isDigit(char32_t c) {
  return c >= '0' && c <= '9';
}

}  // namespace ui::utf8
