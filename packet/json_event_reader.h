// Reading JSON text as a stream of values handed to shapes, without building a JSON tree.
//
// The library's reader tokenizes the text (iteratively, so no nesting exhausts the stack) and
// checks that it is JSON and UTF-8. Each array or object being read has a Shape on top of a
// stack: the values inside it go to that shape, which keeps them (a row's values go straight
// into the row) or names the shape that reads a nested array or object. What the reader does
// itself is the same for every wire shape: the ReadLimits, skipping values no shape wants, and
// refusing a value of the wrong kind once it has been read whole, so that text that is not JSON
// is told apart from JSON of the wrong shape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "packet/json_text.h"
#include "packet/packed_row.h"

namespace packet {

// One value as a shape sees it: a scalar, or the start of an array or object.
struct JsonEvent {
  enum class Kind { Null, Boolean, Number, String, Array, Object };

  Kind kind = Kind::Null;
  std::string_view text;  // String: the decoded text (valid during the call only)
  double number = 0;      // Number: its exact value
  bool integral = false;  // Number: written without fraction or exponent
  bool boolean = false;   // Boolean

  bool opens() const { return kind == Kind::Array || kind == Kind::Object; }
};

class JsonReader;

// Reads the values inside one array or object (or, for the root shape, the text's one value).
class Shape {
 public:
  virtual ~Shape() = default;

  // A value inside: `key` is its member name in an object (empty in an array). For an array or
  // object value, returns the shape that reads what is inside it; for a scalar, nullptr.
  virtual Shape* value(JsonReader& reader, std::string_view key, const JsonEvent& event) = 0;

  // The array or object this shape was reading is closed.
  virtual void end() {}

  // The row a shape reading one packed row builds: the reader then adds its texts, numbers and
  // nulls to it directly, without an event each (a large answer has millions of them).
  virtual PackedRowBuilder* packedRow() { return nullptr; }
};

class JsonReader {
 public:
  explicit JsonReader(const ReadLimits& limits = {}) : limits_(limits) {}

  // Reads `text` whole, handing its one value to `root`. Throws JsonSyntaxError for text that
  // is not JSON, JsonLimitError beyond the limits and whatever the shapes throw.
  void read(std::string_view text, Shape& root);
  // The same, decoding texts where they stand in `text` (which is left unusable) instead of
  // copying each one out first: for the large answers of a client.
  void readInPlace(std::string& text, Shape& root);

  // Passes over `event` and whatever is inside it: the shape to return for a value no shape
  // wants.
  Shape* skip(const JsonEvent& event);

  // Refuses `event` with `message` once it has been read whole (at once for a scalar). A root
  // value is refused only after the whole text has been read: text that is not JSON is a
  // syntax error whatever its shape.
  Shape* refuse(const JsonEvent& event, std::string message);

  // The library reader's events (see its handler concept).
  bool Null();
  bool Bool(bool boolean);
  bool Int(int) { return true; }
  bool Uint(unsigned) { return true; }
  bool Int64(std::int64_t) { return true; }
  bool Uint64(std::uint64_t) { return true; }
  bool Double(double) { return true; }
  bool RawNumber(const char* text, unsigned length, bool copy);
  bool String(const char* text, unsigned length, bool copy);
  bool StartObject();
  bool Key(const char* text, unsigned length, bool copy);
  bool EndObject(unsigned members);
  bool StartArray();
  bool EndArray(unsigned elements);

 private:
  class Skipper : public Shape {
   public:
    Shape* value(JsonReader&, std::string_view, const JsonEvent& event) override {
      return event.opens() ? this : nullptr;
    }
  };

  class Refusal : public Shape {
   public:
    Shape* value(JsonReader&, std::string_view, const JsonEvent& event) override;
    void end() override;
    std::string message;
    Skipper* skipper = nullptr;
  };

  void dispatch(const JsonEvent& event);
  // Counts one more value inside the root value, within ReadLimits::maxValues.
  void countValue();
  void close();
  void start(Shape& root);
  // Throws unless the library read the whole text (`read` of `size` bytes) without error.
  void finish(bool failed, size_t read, size_t size);

  const ReadLimits limits_;
  std::vector<Shape*> stack_;        // the root shape, then one shape per open array or object
  PackedRowBuilder* row_ = nullptr;  // the packed row of the shape on top, if it builds one
  std::string key_;                  // name of the member whose value comes next
  size_t values_ = 0;
  Skipper skipper_;
  Refusal refusal_;
  std::string rootRefusal_;
  bool rootRefused_ = false;
};

}  // namespace packet
