#include "packet/packed_row.h"

#include <cstring>
#include <limits>

namespace packet {

namespace {

// Block: count (4 bytes), width of the ends (1 byte: 2 or 4), a kind per value, the end of
// each value within the payload, then the payload.
constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kFixedBytes = kCountBytes + 1;

std::uint32_t readCount(const char* block) {
  std::uint32_t n = 0;
  std::memcpy(&n, block, sizeof n);
  return n;
}

// A block for n values and `payloadBytes` of payload, with its count and width written.
struct Layout {
  std::unique_ptr<char[]> block;
  char* kinds = nullptr;
  char* ends = nullptr;
  char* payload = nullptr;
  std::size_t width = 2;

  Layout(std::size_t n, std::size_t payloadBytes) {
    width = payloadBytes <= std::numeric_limits<std::uint16_t>::max() ? 2 : 4;
    const std::size_t header = kFixedBytes + n + n * width;
    block = std::make_unique<char[]>(header + payloadBytes);
    const auto count = static_cast<std::uint32_t>(n);
    std::memcpy(block.get(), &count, sizeof count);
    block[kCountBytes] = static_cast<char>(width);
    kinds = block.get() + kFixedBytes;
    ends = kinds + n;
    payload = block.get() + header;
  }

  void setEnd(std::size_t i, std::size_t at) {
    if (width == 2) {
      const auto end = static_cast<std::uint16_t>(at);
      std::memcpy(ends + i * 2, &end, 2);
    } else {
      const auto end = static_cast<std::uint32_t>(at);
      std::memcpy(ends + i * 4, &end, 4);
    }
  }
};

}  // namespace

PackedRow::PackedRow(const Row& row) {
  std::size_t payloadBytes = 0;
  for (const Value& v : row) {
    if (const auto* text = std::get_if<std::string>(&v))
      payloadBytes += text->size();
    else if (packet::isNumber(v))
      payloadBytes += sizeof(double);
  }
  const std::size_t n = row.size();
  Layout layout(n, payloadBytes);
  std::size_t at = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Value& v = row[i];
    Kind kind = Kind::Null;
    if (const auto* text = std::get_if<std::string>(&v)) {
      kind = Kind::Text;
      std::memcpy(layout.payload + at, text->data(), text->size());
      at += text->size();
    } else if (const auto* number = std::get_if<double>(&v)) {
      kind = Kind::Number;
      std::memcpy(layout.payload + at, number, sizeof(double));
      at += sizeof(double);
    }
    layout.kinds[i] = static_cast<char>(kind);
    layout.setEnd(i, at);
  }
  block_ = std::move(layout.block);
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
  return static_cast<Kind>(block_[kFixedBytes + i]);
}

std::size_t PackedRow::end(std::size_t i) const {
  const char* block = block_.get();
  const std::size_t n = readCount(block);
  const char* ends = block + kFixedBytes + n;
  if (block[kCountBytes] == 2) {
    std::uint16_t end = 0;
    std::memcpy(&end, ends + i * 2, 2);
    return end;
  }
  std::uint32_t end = 0;
  std::memcpy(&end, ends + i * 4, 4);
  return end;
}

std::size_t PackedRow::start(std::size_t i) const {
  return i == 0 ? 0 : end(i - 1);
}

const char* PackedRow::payload() const {
  const char* block = block_.get();
  const std::size_t n = readCount(block);
  return block + kFixedBytes + n + n * static_cast<std::size_t>(block[kCountBytes]);
}

std::string_view PackedRow::text(std::size_t i) const {
  if (kind(i) != Kind::Text)
    return {};
  const std::size_t from = start(i);
  return std::string_view(payload() + from, end(i) - from);
}

double PackedRow::number(std::size_t i) const {
  if (kind(i) != Kind::Number)
    return 0;
  double value = 0;
  std::memcpy(&value, payload() + start(i), sizeof value);
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
  for (std::size_t i = 0; i < n; ++i)
    row.push_back(get(i));
  return row;
}

std::size_t PackedRow::blockBytes() const {
  if (!block_)
    return 0;
  const std::size_t n = size();
  const std::size_t header = kFixedBytes + n + n * static_cast<std::size_t>(block_[kCountBytes]);
  return header + (n == 0 ? 0 : end(n - 1));
}

void PackedRowBuilder::addNull() {
  kinds_.push_back(PackedRow::Kind::Null);
  ends_.push_back(payload_.size());
}

void PackedRowBuilder::addNumber(double number) {
  payload_.append(reinterpret_cast<const char*>(&number), sizeof number);
  kinds_.push_back(PackedRow::Kind::Number);
  ends_.push_back(payload_.size());
}

void PackedRowBuilder::addText(std::string_view text) {
  payload_.append(text);
  kinds_.push_back(PackedRow::Kind::Text);
  ends_.push_back(payload_.size());
}

PackedRow PackedRowBuilder::take() {
  const std::size_t n = kinds_.size();
  Layout layout(n, payload_.size());
  std::memcpy(layout.kinds, kinds_.data(), n);
  for (std::size_t i = 0; i < n; ++i)
    layout.setEnd(i, ends_[i]);
  std::memcpy(layout.payload, payload_.data(), payload_.size());
  kinds_.clear();
  ends_.clear();
  payload_.clear();
  PackedRow row;
  row.block_ = std::move(layout.block);
  return row;
}

}  // namespace packet
