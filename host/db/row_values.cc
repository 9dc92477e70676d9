#include "host/db/row_values.h"

#include <cstring>
#include <limits>

namespace db {

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

}  // namespace

RowValues::RowValues(const packet::Row& row) {
  std::size_t payloadBytes = 0;
  for (const packet::Value& v : row) {
    if (const auto* text = std::get_if<std::string>(&v))
      payloadBytes += text->size();
    else if (packet::isNumber(v))
      payloadBytes += sizeof(double);
  }
  const std::size_t n = row.size();
  const std::size_t width = payloadBytes <= std::numeric_limits<std::uint16_t>::max() ? 2 : 4;
  const std::size_t header = kFixedBytes + n + n * width;
  block_ = std::make_unique<char[]>(header + payloadBytes);
  char* block = block_.get();
  const auto count = static_cast<std::uint32_t>(n);
  std::memcpy(block, &count, sizeof count);
  block[kCountBytes] = static_cast<char>(width);
  char* kinds = block + kFixedBytes;
  char* ends = kinds + n;
  char* payload = block + header;
  std::size_t at = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const packet::Value& v = row[i];
    Kind kind = Kind::Null;
    if (const auto* text = std::get_if<std::string>(&v)) {
      kind = Kind::Text;
      std::memcpy(payload + at, text->data(), text->size());
      at += text->size();
    } else if (const auto* number = std::get_if<double>(&v)) {
      kind = Kind::Number;
      std::memcpy(payload + at, number, sizeof(double));
      at += sizeof(double);
    }
    kinds[i] = static_cast<char>(kind);
    if (width == 2) {
      const auto end = static_cast<std::uint16_t>(at);
      std::memcpy(ends + i * 2, &end, 2);
    } else {
      const auto end = static_cast<std::uint32_t>(at);
      std::memcpy(ends + i * 4, &end, 4);
    }
  }
}

RowValues::RowValues(const RowValues& other) {
  if (other.block_) {
    const std::size_t bytes = other.blockBytes();
    block_ = std::make_unique<char[]>(bytes);
    std::memcpy(block_.get(), other.block_.get(), bytes);
  }
}

RowValues& RowValues::operator=(const RowValues& other) {
  if (this != &other)
    *this = RowValues(other);
  return *this;
}

std::size_t RowValues::size() const {
  return block_ ? readCount(block_.get()) : 0;
}

RowValues::Kind RowValues::kind(std::size_t i) const {
  return static_cast<Kind>(block_[kFixedBytes + i]);
}

std::size_t RowValues::end(std::size_t i) const {
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

std::size_t RowValues::start(std::size_t i) const {
  return i == 0 ? 0 : end(i - 1);
}

const char* RowValues::payload() const {
  const char* block = block_.get();
  const std::size_t n = readCount(block);
  return block + kFixedBytes + n + n * static_cast<std::size_t>(block[kCountBytes]);
}

std::string_view RowValues::text(std::size_t i) const {
  if (kind(i) != Kind::Text)
    return {};
  const std::size_t from = start(i);
  return std::string_view(payload() + from, end(i) - from);
}

double RowValues::number(std::size_t i) const {
  if (kind(i) != Kind::Number)
    return 0;
  double value = 0;
  std::memcpy(&value, payload() + start(i), sizeof value);
  return value;
}

packet::Value RowValues::get(std::size_t i) const {
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

packet::Row RowValues::toRow() const {
  packet::Row row;
  const std::size_t n = size();
  row.reserve(n);
  for (std::size_t i = 0; i < n; ++i)
    row.push_back(get(i));
  return row;
}

std::size_t RowValues::blockBytes() const {
  if (!block_)
    return 0;
  const std::size_t n = size();
  const std::size_t header = kFixedBytes + n + n * static_cast<std::size_t>(block_[kCountBytes]);
  return header + (n == 0 ? 0 : end(n - 1));
}

int compareAt(const RowValues& a, const RowValues& b, std::size_t i) {
  const auto rank = [&](const RowValues& row) {
    return row.isNull(i) ? 0 : row.isNumber(i) ? 1 : 2;
  };
  const int ra = rank(a);
  const int rb = rank(b);
  if (ra != rb)
    return ra < rb ? -1 : 1;
  if (ra == 1) {
    const double x = a.number(i);
    const double y = b.number(i);
    return x < y ? -1 : (y < x ? 1 : 0);
  }
  if (ra == 2) {
    const int c = a.text(i).compare(b.text(i));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return 0;
}

}  // namespace db
