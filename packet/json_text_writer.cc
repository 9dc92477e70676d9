// Writing the wire text: packets, deltas, arguments and call results, appended to one string.
#include <charconv>
#include <cmath>

#include "packet/json_text.h"

namespace packet {

namespace {

constexpr char kHex[] = "0123456789abcdef";

// Length of the well-formed UTF-8 sequence at `i`, or 0 when the bytes there are malformed.
size_t utf8Length(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  size_t length = 0;
  unsigned min = 0;
  unsigned code = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2, min = 0x80, code = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3, min = 0x800, code = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4, min = 0x10000, code = c & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size())
    return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80)
      return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return 0;
  return length;
}

void appendValue(std::string& out, const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    appendJsonString(out, *text);
  } else if (const auto* number = std::get_if<double>(&value)) {
    appendJsonNumber(out, *number);
  } else {
    out += "null";
  }
}

void appendRow(std::string& out, const Row& row) {
  out += '[';
  for (size_t i = 0; i < row.size(); ++i) {
    if (i > 0)
      out += ',';
    appendValue(out, row[i]);
  }
  out += ']';
}

void appendRows(std::string& out, const std::vector<Row>& rows) {
  out += '[';
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0)
      out += ',';
    appendRow(out, rows[i]);
  }
  out += ']';
}

void appendInteger(std::string& out, std::int64_t number) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
  out.append(buffer, end);
}

void appendFields(std::string& out, const std::vector<FieldDef>& fields) {
  out += '[';
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0)
      out += ',';
    out += "{\"name\":";
    appendJsonString(out, fields[i].name);
    out += ",\"type\":";
    appendJsonString(out, fieldTypeName(fields[i].type));
    if (fields[i].type == FieldType::Text) {
      out += ",\"size\":";
      appendInteger(out, fields[i].size);
    }
    out += '}';
  }
  out += ']';
}

void appendStrings(std::string& out, const std::vector<std::string>& texts) {
  out += '[';
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0)
      out += ',';
    appendJsonString(out, texts[i]);
  }
  out += ']';
}

void appendPacket(std::string& out, const Packet& packet) {
  out += "{\"fields\":";
  appendFields(out, packet.fields);
  out += ",\"rows\":";
  appendRows(out, packet.rows);
  if (packet.version != 0) {
    out += ",\"version\":";
    appendInteger(out, packet.version);
  }
  if (packet.changes) {
    const PacketChanges& changes = *packet.changes;
    out += ",\"since\":";
    appendInteger(out, changes.since);
    out += ",\"keys\":";
    appendStrings(out, changes.keyFields);
    out += ",\"removed\":";
    appendRows(out, changes.removed);
    out += ",\"order\":[";
    for (size_t i = 0; i < changes.order.size(); ++i) {
      if (i > 0)
        out += ',';
      out += "{\"field\":";
      appendJsonString(out, changes.order[i].field);
      if (changes.order[i].asName)
        out += ",\"names\":true";
      out += '}';
    }
    out += ']';
  }
  out += '}';
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

void appendDelta(std::string& out, const Delta& delta) {
  out += "{\"fields\":";
  appendFields(out, delta.fields);
  out += ",\"changes\":[";
  for (size_t i = 0; i < delta.changes.size(); ++i) {
    const Change& change = delta.changes[i];
    if (i > 0)
      out += ',';
    out += "{\"kind\":\"";
    out += kindName(change.kind);
    out += '"';
    if (change.kind != ChangeKind::Insert) {
      out += ",\"old\":";
      appendRow(out, change.oldValues);
    }
    if (change.kind != ChangeKind::Delete) {
      out += ",\"new\":";
      appendRow(out, change.newValues);
    }
    out += '}';
  }
  out += "]}";
}

void appendArg(std::string& out, const Arg& arg) {
  if (const auto* text = std::get_if<std::string>(&arg)) {
    appendJsonString(out, *text);
  } else if (const auto* number = std::get_if<double>(&arg)) {
    appendJsonNumber(out, *number);
  } else if (const auto* date = std::get_if<DateArg>(&arg)) {
    out += "{\"date\":";
    appendJsonNumber(out, date->days);
    out += '}';
  } else if (const auto* delta = std::get_if<Delta>(&arg)) {
    out += "{\"delta\":";
    appendDelta(out, *delta);
    out += '}';
  } else {
    out += "null";
  }
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  size_t run = 0;  // start of the bytes not yet copied
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
      ++i;
      continue;
    }
    if (c >= 0x80) {
      if (const size_t length = utf8Length(text, i)) {
        i += length;
        continue;
      }
    }
    out.append(text.data() + run, i - run);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 0xF];
        } else {
          out += "\xEF\xBF\xBD";  // a malformed byte: the replacement character
        }
    }
    run = ++i;
  }
  out.append(text.data() + run, text.size() - run);
  out += '"';
}

void appendJsonNumber(std::string& out, double number) {
  if (!std::isfinite(number)) {
    out += "null";
    return;
  }
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
  out.append(buffer, end);
}

std::string packetToJsonText(const Packet& packet) {
  std::string out;
  appendPacket(out, packet);
  return out;
}

std::string deltaToJsonText(const Delta& delta) {
  std::string out;
  appendDelta(out, delta);
  return out;
}

std::string argsToJsonText(const std::vector<Arg>& args) {
  std::string out = "[";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0)
      out += ',';
    appendArg(out, args[i]);
  }
  out += ']';
  return out;
}

std::string callResultToJsonText(const CallResult& result) {
  std::string out =
      result.ok ? "{\"status\":\"ok\",\"message\":" : "{\"status\":\"error\",\"message\":";
  appendJsonString(out, result.message);
  if (result.packet) {
    out += ",\"packet\":";
    appendPacket(out, *result.packet);
  }
  out += '}';
  return out;
}

}  // namespace packet
