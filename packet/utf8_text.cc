#include "packet/utf8_text.h"

#include <rapidjson/encodings.h>
#include <rapidjson/memorystream.h>

#include <cstdint>
#include <cstring>

namespace packet {

namespace {

// Discards what the library's check copies: only the verdict is wanted.
struct NoOutput {
  using Ch = char;
  void Put(char) {}
};

}  // namespace

size_t utf8SequenceLength(std::string_view text) {
  if (text.empty())
    return 0;
  if (static_cast<unsigned char>(text[0]) < 0x80)
    return 1;
  rapidjson::MemoryStream in(text.data(), text.size());
  NoOutput none;
  return rapidjson::UTF8<>::Validate(in, none) ? in.Tell() : 0;
}

size_t wellFormedUtf8Length(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    // Texts are mostly ASCII: eight bytes are passed at once while none has its high bit.
    std::uint64_t eight = 0;
    if (text.size() - i >= sizeof eight) {
      std::memcpy(&eight, text.data() + i, sizeof eight);
      if ((eight & 0x8080808080808080u) == 0) {
        i += sizeof eight;
        continue;
      }
    }
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t length = utf8SequenceLength(text.substr(i));
    if (length == 0)
      return i;
    i += length;
  }
  return i;
}

}  // namespace packet
