// RowValues: the values of one data-set row, kept compactly in a single block.
//
// A service of 100,000 clients holds millions of values; one packet::Value each (a variant as
// large as a string object) would take several times the bytes of the values themselves. A row
// keeps instead one block: the count, each value's kind and where its bytes end, then the
// numbers (8 bytes) and the texts' bytes one after the other. Values are read by position;
// a row is never changed in place (an edit builds a new one from the edit buffer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "packet/packet.h"

namespace db {

class RowValues {
 public:
  RowValues() = default;
  explicit RowValues(const packet::Row& row);
  RowValues(const RowValues& other);
  RowValues& operator=(const RowValues& other);
  RowValues(RowValues&&) noexcept = default;
  RowValues& operator=(RowValues&&) noexcept = default;

  std::size_t size() const;
  bool isNull(std::size_t i) const { return kind(i) == Kind::Null; }
  bool isText(std::size_t i) const { return kind(i) == Kind::Text; }
  bool isNumber(std::size_t i) const { return kind(i) == Kind::Number; }
  // The text's bytes (empty for a value that is not a text).
  std::string_view text(std::size_t i) const;
  // The number (0 for a value that is not a number).
  double number(std::size_t i) const;
  packet::Value get(std::size_t i) const;
  packet::Row toRow() const;

  // Bytes the row takes (the block alone), for measuring.
  std::size_t blockBytes() const;

 private:
  enum class Kind : std::uint8_t { Null, Number, Text };

  Kind kind(std::size_t i) const;
  // [start, end) of value i within the payload.
  std::size_t start(std::size_t i) const;
  std::size_t end(std::size_t i) const;
  const char* payload() const;

  std::unique_ptr<char[]> block_;
};

// -1, 0 or 1 comparing value i of two rows: null first, then numbers by value, then texts by
// their bytes.
int compareAt(const RowValues& a, const RowValues& b, std::size_t i);

}  // namespace db
