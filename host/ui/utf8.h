// UTF-8 helpers for the texts the toolkit and the data layer handle.
//
// Field sizes, edit masks and maximum input lengths count characters, not bytes, and the
// Brazilian texts carry accented letters; these helpers count, cut and change the case of
// UTF-8 text by code point. Invalid bytes decode as U+FFFD, one byte at a time, so nothing
// here throws or loops on bad input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ui::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point starting at `pos` and advances `pos` past it. At the end of the text
// returns 0 without moving.
char32_t decode(std::string_view text, std::size_t& pos);

// Appends the UTF-8 encoding of `c` (a surrogate or a value past U+10FFFF becomes U+FFFD).
void append(std::string& out, char32_t c);
std::string encode(char32_t c);

// Number of code points.
std::size_t length(std::string_view text);

// At most `count` code points starting at code point `start` (empty when start is past the end).
std::string substr(std::string_view text, std::size_t start, std::size_t count = std::string::npos);

// Upper and lower case of ASCII and Latin-1 letters (á↔Á, ç↔Ç, ...); other code points as they
// are.
char32_t toUpper(char32_t c);
char32_t toLower(char32_t c);
std::string toUpper(std::string_view text);
std::string toLower(std::string_view text);

// Letters are ASCII and Latin-1 letters; digits are 0-9 only.
bool isLetter(char32_t c);
bool isDigit(char32_t c);

}  // namespace ui::utf8
