// PackedRow: the values of one row kept compactly in a single block.
//
// A service of 100,000 clients holds millions of values; one Value each (a variant as large as
// a string object) would take several times the bytes of the values themselves. A packed row
// keeps instead one block: the count, two bits per value telling null, number or text, where
// each text ends (one byte each while the row's texts fit in 255 bytes), then the numbers
// (8 bytes) and the texts' bytes one after the other. Values are read by position; a row is
// never changed in place. Data sets keep their rows this way, and a reader can build
// them straight from the wire text (PackedRowBuilder) so a large answer never exists as Rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "packet/value.h"

namespace packet {

using Row = std::vector<Value>;

class PackedRow {
 public:
  PackedRow() = default;
  explicit PackedRow(const Row& row);
  PackedRow(const PackedRow& other);
  PackedRow& operator=(const PackedRow& other);
  PackedRow(PackedRow&&) noexcept = default;
  PackedRow& operator=(PackedRow&&) noexcept = default;

  std::size_t size() const;
  bool isNull(std::size_t i) const { return kind(i) == Kind::Null; }
  bool isText(std::size_t i) const { return kind(i) == Kind::Text; }
  bool isNumber(std::size_t i) const { return kind(i) == Kind::Number; }
  // The text's bytes (empty for a value that is not a text).
  std::string_view text(std::size_t i) const;
  // The number (0 for a value that is not a number).
  double number(std::size_t i) const;
  Value get(std::size_t i) const;
  Row toRow() const;

  // Bytes the row takes (the block alone), for measuring.
  std::size_t blockBytes() const;

 private:
  friend class PackedRowBuilder;
  friend class PackedRowReader;
  enum class Kind : std::uint8_t { Null, Number, Text };

  Kind kind(std::size_t i) const;
  std::unique_ptr<char[]> block_;
};

// Reads a packed row's values in order, each in constant time. A read by position counts the
// values of its kind that come before it, so writing or checking a whole row that way costs
// more with every value; whoever walks a row from its first value to its last uses this.
class PackedRowReader {
 public:
  explicit PackedRowReader(const PackedRow& row);
  bool atEnd() const { return at_ == count_; }
  bool isNumber() const;
  bool isText() const;
  // The current value's text or number; only for a value of that kind.
  std::string_view text() const;
  double number() const;
  void next();

 private:
  const char* numberBits_ = nullptr;
  const char* textBits_ = nullptr;
  const char* ends_ = nullptr;
  const char* numbers_ = nullptr;
  const char* texts_ = nullptr;
  std::size_t width_ = 1;
  std::size_t count_ = 0;
  std::size_t at_ = 0;
  std::size_t textsBefore_ = 0;
  std::size_t numbersBefore_ = 0;
  std::size_t textFrom_ = 0;
};

// Builds packed rows value by value; its buffers are kept from one row to the next, so building
// many rows allocates only each row's block.
class PackedRowBuilder {
 public:
  void addNull();
  void addNumber(double number);
  void addText(std::string_view text);
  std::size_t size() const { return kinds_.size(); }
  // The row of the values added since the last take; the builder starts the next row empty.
  PackedRow take();

 private:
  std::vector<PackedRow::Kind> kinds_;
  std::vector<std::size_t> ends_;  // of each text within texts_
  std::string numbers_;
  std::string texts_;
};

}  // namespace packet
