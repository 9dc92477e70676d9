// Writing the wire text: packets, deltas, arguments and call results, appended to one string
// through the library's streaming writer (which escapes texts and places commas and colons).
// Numbers are formatted by the standard library, whose shortest exact form is the one peers
// and stored texts have always seen.
#include <rapidjson/writer.h>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "packet/json_text.h"
#include "packet/utf8_text.h"

namespace packet {

namespace {

// The writer's output: the string being built. The writer says how much it may write next;
// the string is grown ahead by at least that (doubling, so growth costs little), every byte is
// then a plain store, and the unused rest is cut off at the end.
class StringOutput {
 public:
  using Ch = char;
  explicit StringOutput(std::string& out)
      : out_(out), start_(out.size()), next_(out.data() + out.size()), end_(next_) {}
  ~StringOutput() { out_.resize(static_cast<size_t>(next_ - out_.data())); }
  StringOutput(const StringOutput&) = delete;
  StringOutput& operator=(const StringOutput&) = delete;

  void reserve(size_t count) {
    if (static_cast<size_t>(end_ - next_) < count)
      grow(count);
  }
  void putReserved(char c) { *next_++ = c; }
  void appendReserved(const char* begin, const char* end) { next_ = std::copy(begin, end, next_); }
  void Put(char c) {
    reserve(1);
    putReserved(c);
  }
  void Flush() {}

 private:
  // Grows by at least what this output has written so far, not by what the string held
  // before it: appending a short text to a long string stays as cheap as the text.
  void grow(size_t count) {
    const size_t used = static_cast<size_t>(next_ - out_.data());
    out_.resize(used + std::max({count, used - start_, size_t{64}}));
    next_ = out_.data() + used;
    end_ = out_.data() + out_.size();
  }

  std::string& out_;
  size_t start_;  // size of out_ before this output wrote to it
  char* next_;    // where the next byte goes, within out_
  char* end_;     // end of out_
};

// Found by the library's writer for this output.
void PutReserve(StringOutput& output, size_t count) {
  output.reserve(count);
}
void PutUnsafe(StringOutput& output, char c) {
  output.putReserved(c);
}

}  // namespace
}  // namespace packet

// The library's writer lets its output copy at once the bytes of a text that need no escape
// (well-formed UTF-8 is copied as it is); left to itself it takes them one at a time.
template <>
inline bool rapidjson::Writer<packet::StringOutput>::ScanWriteUnescapedString(StringStream& is,
                                                                              size_t length) {
  const char* const run = is.src_;
  const char* const end = is.head_ + length;
  const char* p = run;
  while (p != end && static_cast<unsigned char>(*p) >= 0x20 && *p != '"' && *p != '\\')
    ++p;
  os_->appendReserved(run, p);
  is.src_ = p;
  return p != end;
}

namespace packet {
namespace {

using Writer = rapidjson::Writer<StringOutput>;

void writeString(Writer& writer, std::string_view text) {
  size_t good = wellFormedUtf8Length(text);
  if (good == text.size()) {
    writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
    return;
  }
  // A malformed byte becomes the replacement character; the rest of the text is kept.
  std::string repaired(text.substr(0, good));
  while (good < text.size()) {
    const size_t length = utf8SequenceLength(text.substr(good));
    if (length == 0) {
      repaired += "\xEF\xBF\xBD";
      ++good;
    } else {
      repaired.append(text.substr(good, length));
      good += length;
    }
  }
  writer.String(repaired.data(), static_cast<rapidjson::SizeType>(repaired.size()));
}

void writeNumber(Writer& writer, double number) {
  if (!std::isfinite(number)) {
    writer.Null();
    return;
  }
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
  writer.RawValue(buffer, static_cast<size_t>(end - buffer), rapidjson::kNumberType);
}

void writeKey(Writer& writer, std::string_view key) {
  writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

void writeRow(Writer& writer, const Row& row) {
  writer.StartArray();
  for (const Value& value : row) {
    if (const auto* text = std::get_if<std::string>(&value))
      writeString(writer, *text);
    else if (const auto* number = std::get_if<double>(&value))
      writeNumber(writer, *number);
    else
      writer.Null();
  }
  writer.EndArray();
}

void writeRows(Writer& writer, const std::vector<Row>& rows) {
  writer.StartArray();
  for (const Row& row : rows)
    writeRow(writer, row);
  writer.EndArray();
}

void writeRows(Writer& writer, const std::vector<PackedRow>& rows) {
  writer.StartArray();
  for (const PackedRow& row : rows) {
    writer.StartArray();
    for (PackedRowReader value(row); !value.atEnd(); value.next()) {
      if (value.isText())
        writeString(writer, value.text());
      else if (value.isNumber())
        writeNumber(writer, value.number());
      else
        writer.Null();
    }
    writer.EndArray();
  }
  writer.EndArray();
}

void writeFields(Writer& writer, const std::vector<FieldDef>& fields) {
  writer.StartArray();
  for (const FieldDef& field : fields) {
    writer.StartObject();
    writeKey(writer, "name");
    writeString(writer, field.name);
    writeKey(writer, "type");
    writeString(writer, fieldTypeName(field.type));
    if (field.type == FieldType::Text) {
      writeKey(writer, "size");
      writer.Int(field.size);
    }
    writer.EndObject();
  }
  writer.EndArray();
}

void writePacket(Writer& writer, const Packet& packet) {
  writer.StartObject();
  writeKey(writer, "fields");
  writeFields(writer, packet.fields);
  writeKey(writer, "rows");
  if (packet.packedRows.empty())
    writeRows(writer, packet.rows);
  else
    writeRows(writer, packet.packedRows);
  if (packet.version != 0) {
    writeKey(writer, "version");
    writer.Int64(packet.version);
  }
  if (packet.changes) {
    const PacketChanges& changes = *packet.changes;
    writeKey(writer, "since");
    writer.Int64(changes.since);
    writeKey(writer, "keys");
    writer.StartArray();
    for (const std::string& name : changes.keyFields)
      writeString(writer, name);
    writer.EndArray();
    writeKey(writer, "removed");
    writeRows(writer, changes.removed);
    writeKey(writer, "order");
    writer.StartArray();
    for (const OrderField& level : changes.order) {
      writer.StartObject();
      writeKey(writer, "field");
      writeString(writer, level.field);
      if (level.asName) {
        writeKey(writer, "names");
        writer.Bool(true);
      }
      writer.EndObject();
    }
    writer.EndArray();
  }
  writer.EndObject();
}

const char* kindName(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::Insert:
      return "insert";
    case ChangeKind::Modify:
      return "modify";
    case ChangeKind::Delete:
      return "delete";
  }
  return "insert";
}

void writeDelta(Writer& writer, const Delta& delta) {
  writer.StartObject();
  writeKey(writer, "fields");
  writeFields(writer, delta.fields);
  writeKey(writer, "changes");
  writer.StartArray();
  for (const Change& change : delta.changes) {
    writer.StartObject();
    writeKey(writer, "kind");
    writer.String(kindName(change.kind));
    if (change.kind != ChangeKind::Insert) {
      writeKey(writer, "old");
      writeRow(writer, change.oldValues);
    }
    if (change.kind != ChangeKind::Delete) {
      writeKey(writer, "new");
      writeRow(writer, change.newValues);
    }
    writer.EndObject();
  }
  writer.EndArray();
  writer.EndObject();
}

void writeArg(Writer& writer, const Arg& arg) {
  if (const auto* text = std::get_if<std::string>(&arg)) {
    writeString(writer, *text);
  } else if (const auto* number = std::get_if<double>(&arg)) {
    writeNumber(writer, *number);
  } else if (const auto* date = std::get_if<DateArg>(&arg)) {
    writer.StartObject();
    writeKey(writer, "date");
    writeNumber(writer, date->days);
    writer.EndObject();
  } else if (const auto* delta = std::get_if<Delta>(&arg)) {
    writer.StartObject();
    writeKey(writer, "delta");
    writeDelta(writer, *delta);
    writer.EndObject();
  } else {
    writer.Null();
  }
}

// Runs `write` with a writer appending to `out`.
template <class F>
void appendWith(std::string& out, F&& write) {
  StringOutput output(out);
  Writer writer(output);
  write(writer);
}

template <class F>
std::string textOf(F&& write) {
  std::string out;
  appendWith(out, write);
  return out;
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  appendWith(out, [&](Writer& writer) { writeString(writer, text); });
}

void appendJsonNumber(std::string& out, double number) {
  appendWith(out, [&](Writer& writer) { writeNumber(writer, number); });
}

std::string packetToJsonText(const Packet& packet) {
  return textOf([&](Writer& writer) { writePacket(writer, packet); });
}

std::string deltaToJsonText(const Delta& delta) {
  return textOf([&](Writer& writer) { writeDelta(writer, delta); });
}

std::string argsToJsonText(const std::vector<Arg>& args) {
  return textOf([&](Writer& writer) {
    writer.StartArray();
    for (const Arg& arg : args)
      writeArg(writer, arg);
    writer.EndArray();
  });
}

std::string callResultToJsonText(const CallResult& result) {
  return textOf([&](Writer& writer) {
    writer.StartObject();
    writeKey(writer, "status");
    writer.String(result.ok ? "ok" : "error");
    writeKey(writer, "message");
    writeString(writer, result.message);
    if (result.packet) {
      writeKey(writer, "packet");
      writePacket(writer, *result.packet);
    }
    writer.EndObject();
  });
}

}  // namespace packet
