// Checks of UTF-8 text, on the library's decoder: the wire carries texts as UTF-8 only.
#pragma once

#include <cstddef>
#include <string_view>

namespace packet {

// Length of the well-formed UTF-8 sequence `text` starts with (1 for ASCII), or 0 when its
// first bytes are malformed: overlong, a surrogate, beyond U+10FFFF or cut short.
size_t utf8SequenceLength(std::string_view text);

// Length of the longest well-formed UTF-8 start of `text` (all of it when it is well-formed).
size_t wellFormedUtf8Length(std::string_view text);

}  // namespace packet
