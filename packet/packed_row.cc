#include "packet/packed_row.h"

#include <bit>
#include <cstring>
#include <limits>

namespace packet {

namespace {

// Block: the count (4 bytes), the width of the texts' ends (1 byte: 1, 2 or 4), a bitmap of
// the values that are numbers and one of those that are texts (a bit per value each; neither
// bit: null), the end of each text within the texts' bytes, then the numbers (8 bytes each)
// and the texts' bytes, each in the row's order. A value's place follows from how many values
// of its kind come before it, counted in the bitmaps, so nulls and numbers take no end.
constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kFixedBytes = kCountBytes + 1;

std::uint32_t readCount(const char* block) {
  std::uint32_t n = 0;
  std::memcpy(&n, block, sizeof n);
  return n;
}

std::size_t bitmapBytes(std::size_t n) {
  return (n + 7) / 8;
}

// How many bits are set among the first `count` bits of `bits`.
std::size_t rank(const char* bits, std::size_t count) {
  std::size_t set = 0;
  std::size_t byte = 0;
  for (; byte + 8 <= count / 8; byte += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bits + byte, sizeof word);
    set += static_cast<std::size_t>(std::popcount(word));
  }
  for (; byte < count / 8; ++byte)
    set += static_cast<std::size_t>(std::popcount(static_cast<unsigned char>(bits[byte])));
  if (count % 8 != 0) {
    const auto last = static_cast<unsigned char>(bits[byte]);
    set += static_cast<std::size_t>(
        std::popcount(static_cast<unsigned char>(last & ((1u << (count % 8)) - 1))));
  }
  return set;
}

bool bitAt(const char* bits, std::size_t i) {
  return (static_cast<unsigned char>(bits[i / 8]) >> (i % 8)) & 1u;
}

std::size_t widthFor(std::size_t textBytes) {
  if (textBytes <= std::numeric_limits<std::uint8_t>::max())
    return 1;
  return textBytes <= std::numeric_limits<std::uint16_t>::max() ? 2 : 4;
}

std::size_t readEnd(const char* ends, std::size_t width, std::size_t j) {
  switch (width) {
    case 1:
      return static_cast<unsigned char>(ends[j]);
    case 2: {
      std::uint16_t end = 0;
      std::memcpy(&end, ends + j * 2, 2);
      return end;
    }
    default: {
      std::uint32_t end = 0;
      std::memcpy(&end, ends + j * 4, 4);
      return end;
    }
  }
}

void writeEnd(char* ends, std::size_t width, std::size_t j, std::size_t at) {
  switch (width) {
    case 1:
      ends[j] = static_cast<char>(static_cast<unsigned char>(at));
      break;
    case 2: {
      const auto end = static_cast<std::uint16_t>(at);
      std::memcpy(ends + j * 2, &end, 2);
      break;
    }
    default: {
      const auto end = static_cast<std::uint32_t>(at);
      std::memcpy(ends + j * 4, &end, 4);
      break;
    }
  }
}

// Where the parts of a block stand, read from its header.
struct Parts {
  std::size_t n = 0;
  std::size_t width = 1;
  const char* numberBits = nullptr;
  const char* textBits = nullptr;
  const char* ends = nullptr;
  const char* numbers = nullptr;
  const char* texts = nullptr;
  std::size_t textCount = 0;

  explicit Parts(const char* block) {
    n = readCount(block);
    width = static_cast<unsigned char>(block[kCountBytes]);
    numberBits = block + kFixedBytes;
    textBits = numberBits + bitmapBytes(n);
    ends = textBits + bitmapBytes(n);
    textCount = rank(textBits, n);
    numbers = ends + textCount * width;
    texts = numbers + rank(numberBits, n) * sizeof(double);
  }
  std::size_t textBytes() const { return textCount == 0 ? 0 : readEnd(ends, width, textCount - 1); }
};

}  // namespace

PackedRow::PackedRow(const Row& row) {
  PackedRowBuilder builder;
  for (const Value& v : row) {
    if (const auto* text = std::get_if<std::string>(&v))
      builder.addText(*text);
    else if (const auto* number = std::get_if<double>(&v))
      builder.addNumber(*number);
    else
      builder.addNull();
  }
  *this = builder.take();
}

PackedRow::PackedRow(const PackedRow& other) {
  if (other.block_) {
    const std::size_t bytes = other.blockBytes();
    block_ = std::make_unique<char[]>(bytes);
    std::memcpy(block_.get(), other.block_.get(), bytes);
  }
}

PackedRow& PackedRow::operator=(const PackedRow& other) {
  if (this != &other)
    *this = PackedRow(other);
  return *this;
}

std::size_t PackedRow::size() const {
  return block_ ? readCount(block_.get()) : 0;
}

PackedRow::Kind PackedRow::kind(std::size_t i) const {
  const char* block = block_.get();
  const char* numberBits = block + kFixedBytes;
  if (bitAt(numberBits, i))
    return Kind::Number;
  return bitAt(numberBits + bitmapBytes(readCount(block)), i) ? Kind::Text : Kind::Null;
}

std::string_view PackedRow::text(std::size_t i) const {
  if (kind(i) != Kind::Text)
    return {};
  const Parts parts(block_.get());
  const std::size_t j = rank(parts.textBits, i);
  const std::size_t from = j == 0 ? 0 : readEnd(parts.ends, parts.width, j - 1);
  return std::string_view(parts.texts + from, readEnd(parts.ends, parts.width, j) - from);
}

double PackedRow::number(std::size_t i) const {
  if (kind(i) != Kind::Number)
    return 0;
  const Parts parts(block_.get());
  double value = 0;
  std::memcpy(&value, parts.numbers + rank(parts.numberBits, i) * sizeof(double), sizeof value);
  return value;
}

Value PackedRow::get(std::size_t i) const {
  switch (kind(i)) {
    case Kind::Number:
      return number(i);
    case Kind::Text:
      return std::string(text(i));
    case Kind::Null:
      break;
  }
  return std::monostate{};
}

Row PackedRow::toRow() const {
  Row row;
  const std::size_t n = size();
  row.reserve(n);
  for (PackedRowReader value(*this); !value.atEnd(); value.next()) {
    if (value.isText())
      row.emplace_back(std::string(value.text()));
    else if (value.isNumber())
      row.emplace_back(value.number());
    else
      row.emplace_back(std::monostate{});
  }
  return row;
}

std::size_t PackedRow::blockBytes() const {
  if (!block_)
    return 0;
  const Parts parts(block_.get());
  return static_cast<std::size_t>(parts.texts - block_.get()) + parts.textBytes();
}

PackedRowReader::PackedRowReader(const PackedRow& row) {
  if (!row.block_)
    return;
  const Parts parts(row.block_.get());
  numberBits_ = parts.numberBits;
  textBits_ = parts.textBits;
  ends_ = parts.ends;
  numbers_ = parts.numbers;
  texts_ = parts.texts;
  width_ = parts.width;
  count_ = parts.n;
}

bool PackedRowReader::isNumber() const {
  return bitAt(numberBits_, at_);
}

bool PackedRowReader::isText() const {
  return bitAt(textBits_, at_);
}

std::string_view PackedRowReader::text() const {
  return std::string_view(texts_ + textFrom_, readEnd(ends_, width_, textsBefore_) - textFrom_);
}

double PackedRowReader::number() const {
  double value = 0;
  std::memcpy(&value, numbers_ + numbersBefore_ * sizeof(double), sizeof value);
  return value;
}

void PackedRowReader::next() {
  if (isText()) {
    textFrom_ = readEnd(ends_, width_, textsBefore_);
    ++textsBefore_;
  } else if (isNumber()) {
    ++numbersBefore_;
  }
  ++at_;
}

void PackedRowBuilder::addNull() {
  kinds_.push_back(PackedRow::Kind::Null);
}

void PackedRowBuilder::addNumber(double number) {
  numbers_.append(reinterpret_cast<const char*>(&number), sizeof number);
  kinds_.push_back(PackedRow::Kind::Number);
}

void PackedRowBuilder::addText(std::string_view text) {
  texts_.append(text);
  kinds_.push_back(PackedRow::Kind::Text);
  ends_.push_back(texts_.size());
}

PackedRow PackedRowBuilder::take() {
  const std::size_t n = kinds_.size();
  const std::size_t width = widthFor(texts_.size());
  const std::size_t bitmap = bitmapBytes(n);
  const std::size_t header = kFixedBytes + 2 * bitmap + ends_.size() * width;
  auto block = std::make_unique<char[]>(header + numbers_.size() + texts_.size());
  const auto count = static_cast<std::uint32_t>(n);
  std::memcpy(block.get(), &count, sizeof count);
  block[kCountBytes] = static_cast<char>(width);
  char* numberBits = block.get() + kFixedBytes;
  char* textBits = numberBits + bitmap;
  std::memset(numberBits, 0, 2 * bitmap);
  for (std::size_t i = 0; i < n; ++i) {
    char* bits = kinds_[i] == PackedRow::Kind::Number ? numberBits
                 : kinds_[i] == PackedRow::Kind::Text ? textBits
                                                      : nullptr;
    if (bits != nullptr)
      bits[i / 8] = static_cast<char>(static_cast<unsigned char>(bits[i / 8]) | (1u << (i % 8)));
  }
  char* ends = textBits + bitmap;
  for (std::size_t j = 0; j < ends_.size(); ++j)
    writeEnd(ends, width, j, ends_[j]);
  std::memcpy(block.get() + header, numbers_.data(), numbers_.size());
  std::memcpy(block.get() + header + numbers_.size(), texts_.data(), texts_.size());
  kinds_.clear();
  ends_.clear();
  numbers_.clear();
  texts_.clear();
  PackedRow row;
  row.block_ = std::move(block);
  return row;
}

}  // namespace packet
