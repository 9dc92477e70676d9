#include "packet/json_event_reader.h"

#include <fmt/format.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <charconv>
#include <cmath>

#include "packet/utf8_text.h"

namespace packet {

namespace {

const char* const kNotJson = "O conteúdo não é um JSON válido.";

JsonEvent eventOf(JsonEvent::Kind kind) {
  JsonEvent event;
  event.kind = kind;
  return event;
}

// The library's check of UTF-8 is slow on long texts and lets an escaped lone low surrogate
// ("\udc00") through; each decoded text is checked here instead.
void checkDecoded(std::string_view text) {
  if (wellFormedUtf8Length(text) != text.size())
    throw JsonSyntaxError(kNotJson);
}

// A plain integer of up to 15 digits, as nearly every number of a packet is, is exact as a
// double and is converted here; any other number is left to the standard conversion.
bool smallInteger(const char* text, unsigned length, double& number) {
  const bool negative = length > 0 && text[0] == '-';
  if (length - negative == 0 || length - negative > 15)
    return false;
  std::uint64_t value = 0;
  for (unsigned i = negative; i < length; ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
    if (digit > 9)
      return false;
    value = value * 10 + digit;
  }
  number = negative ? -static_cast<double>(value) : static_cast<double>(value);
  return true;
}

}  // namespace

// Numbers come as their text, which is converted exactly in RawNumber; reading iteratively, no
// nesting exhausts the stack.
constexpr unsigned kParseFlags =
    rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag;

void JsonReader::read(std::string_view text, Shape& root) {
  start(root);
  rapidjson::MemoryStream stream(text.data(), text.size());
  rapidjson::Reader reader;
  const bool failed = reader.Parse<kParseFlags>(stream, *this).IsError();
  finish(failed, stream.Tell(), text.size());
}

void JsonReader::readInPlace(std::string& text, Shape& root) {
  start(root);
  // The string ends in a zero byte, where the in-place stream stops.
  rapidjson::InsituStringStream stream(text.data());
  rapidjson::Reader reader;
  const bool failed =
      reader.Parse<kParseFlags | rapidjson::kParseInsituFlag>(stream, *this).IsError();
  finish(failed, stream.Tell(), text.size());
}

void JsonReader::start(Shape& root) {
  stack_.assign(1, &root);
  row_ = nullptr;
  refusal_.skipper = &skipper_;
}

void JsonReader::finish(bool failed, size_t read, size_t size) {
  // The stream ends at a zero byte as at the end of the text: one anywhere else is refused.
  if (failed || read != size)
    throw JsonSyntaxError(kNotJson);
  if (rootRefused_)
    throw PacketError(rootRefusal_);
}

Shape* JsonReader::skip(const JsonEvent& event) {
  return event.opens() ? &skipper_ : nullptr;
}

Shape* JsonReader::refuse(const JsonEvent& event, std::string message) {
  if (stack_.size() == 1) {
    if (!rootRefused_) {
      rootRefused_ = true;
      rootRefusal_ = std::move(message);
    }
    return skip(event);
  }
  if (!event.opens())
    throw PacketError(message);
  refusal_.message = std::move(message);
  return &refusal_;
}

Shape* JsonReader::Refusal::value(JsonReader&, std::string_view, const JsonEvent& event) {
  return event.opens() ? skipper : nullptr;
}

void JsonReader::Refusal::end() {
  throw PacketError(message);
}

void JsonReader::countValue() {
  if (++values_ > limits_.maxValues) {
    throw JsonLimitError(fmt::format("A requisição tem mais de {} valores e não foi processada.",
                                     limits_.maxValues));
  }
}

void JsonReader::dispatch(const JsonEvent& event) {
  if (stack_.size() > 1)
    countValue();
  if (event.opens() && stack_.size() > limits_.maxDepth) {
    throw JsonLimitError(fmt::format(
        "A requisição aninha listas e objetos em mais de {} níveis e não foi processada.",
        limits_.maxDepth));
  }
  Shape* inner = stack_.back()->value(*this, key_, event);
  key_.clear();
  if (event.opens()) {
    stack_.push_back(inner ? inner : &skipper_);
    row_ = stack_.back()->packedRow();
  }
}

void JsonReader::close() {
  Shape* shape = stack_.back();
  stack_.pop_back();
  row_ = stack_.empty() ? nullptr : stack_.back()->packedRow();
  shape->end();
}

bool JsonReader::Null() {
  if (row_ != nullptr) {
    countValue();
    row_->addNull();
    return true;
  }
  dispatch(eventOf(JsonEvent::Kind::Null));
  return true;
}

bool JsonReader::Bool(bool boolean) {
  JsonEvent event = eventOf(JsonEvent::Kind::Boolean);
  event.boolean = boolean;
  dispatch(event);
  return true;
}

bool JsonReader::RawNumber(const char* text, unsigned length, bool) {
  JsonEvent event = eventOf(JsonEvent::Kind::Number);
  if (smallInteger(text, length, event.number)) {
    event.integral = true;
  } else {
    const auto [end, error] = std::from_chars(text, text + length, event.number);
    if (error != std::errc() || end != text + length || !std::isfinite(event.number))
      throw JsonSyntaxError(kNotJson);
    event.integral = std::string_view(text, length).find_first_of(".eE") == std::string_view::npos;
  }
  if (row_ != nullptr) {
    countValue();
    row_->addNumber(event.number);
    return true;
  }
  dispatch(event);
  return true;
}

bool JsonReader::String(const char* text, unsigned length, bool) {
  const std::string_view decoded(text, length);
  checkDecoded(decoded);
  if (row_ != nullptr) {
    countValue();
    row_->addText(decoded);
    return true;
  }
  JsonEvent event = eventOf(JsonEvent::Kind::String);
  event.text = decoded;
  dispatch(event);
  return true;
}

bool JsonReader::StartObject() {
  dispatch(eventOf(JsonEvent::Kind::Object));
  return true;
}

bool JsonReader::Key(const char* text, unsigned length, bool) {
  key_.assign(text, length);
  checkDecoded(key_);
  return true;
}

bool JsonReader::EndObject(unsigned) {
  close();
  return true;
}

bool JsonReader::StartArray() {
  dispatch(eventOf(JsonEvent::Kind::Array));
  return true;
}

bool JsonReader::EndArray(unsigned) {
  close();
  return true;
}

}  // namespace packet
