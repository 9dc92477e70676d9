// Reading the wire text straight into packets, deltas, arguments and call results.
//
// A small recursive-descent reader: each shape is read member by member, values of rows go
// straight into rows, and members a reader does not know are skipped (so a newer peer may add
// members). The shape checks and messages are those of the tree codec.
#include <fmt/format.h>

#include <charconv>
#include <cmath>

#include "packet/json_text.h"

namespace packet {

namespace {

const char* const kNotJson = "O conteúdo não é um JSON válido.";
const char* const kBadValue = "Valor inválido no pacote: esperado texto, número ou nulo.";

class Reader {
 public:
  explicit Reader(std::string_view text, const ReadLimits& limits = {})
      : p_(text.data()), end_(text.data() + text.size()), limits_(limits) {}

  [[noreturn]] static void syntax() { throw JsonSyntaxError(kNotJson); }

  void skipSpace() {
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t'))
      ++p_;
  }

  // The next significant character, or 0 at the end.
  char peek() {
    skipSpace();
    return p_ < end_ ? *p_ : '\0';
  }

  void expect(char c) {
    if (peek() != c)
      syntax();
    ++p_;
  }

  // Only white space may follow the value: a zero byte is not the end of the text.
  void finish() {
    skipSpace();
    if (p_ != end_)
      syntax();
  }

  bool nullLiteral() {
    if (peek() != 'n')
      return false;
    literal("null");
    return true;
  }

  // Runs `member(key)` for every member of an object; `member` must read the value.
  template <class F>
  void object(F&& member) {
    expect('{');
    const Nesting nesting(*this);
    if (peek() == '}') {
      ++p_;
      return;
    }
    for (;;) {
      if (peek() != '"')
        syntax();
      const std::string key = string();
      expect(':');
      countValue();
      member(key);
      const char next = peek();
      ++p_;
      if (next == '}')
        return;
      if (next != ',')
        syntax();
    }
  }

  // Runs `element()` for every element of an array; `element` must read the value.
  template <class F>
  void array(F&& element) {
    expect('[');
    const Nesting nesting(*this);
    if (peek() == ']') {
      ++p_;
      return;
    }
    for (;;) {
      countValue();
      element();
      const char next = peek();
      ++p_;
      if (next == ']')
        return;
      if (next != ',')
        syntax();
    }
  }

  // A scalar of a row: null, a text or a number; anything else is refused with `message`
  // (after checking that it is JSON at all).
  Value value(const char* message = kBadValue) {
    switch (peek()) {
      case 'n':
        literal("null");
        return std::monostate{};
      case '"':
        return string();
      case '-':
      case '0':
      case '1':
      case '2':
      case '3':
      case '4':
      case '5':
      case '6':
      case '7':
      case '8':
      case '9':
        return number();
      default:
        skip();
        throw PacketError(message);
    }
  }

  std::string string() {
    expect('"');
    std::string out;
    const char* run = p_;
    for (;;) {
      if (p_ >= end_)
        syntax();
      const auto c = static_cast<unsigned char>(*p_);
      if (c == '"') {
        out.append(run, p_);
        ++p_;
        return out;
      }
      if (c < 0x20)
        syntax();
      if (c == '\\') {
        out.append(run, p_);
        ++p_;
        escape(out);
        run = p_;
        continue;
      }
      if (c >= 0x80) {
        utf8();
        continue;
      }
      ++p_;
    }
  }

  double number() {
    bool integral = true;
    return number(integral);
  }

  // A number; `integral` tells whether it was written without fraction or exponent.
  double number(bool& integral) {
    skipSpace();
    const char* start = p_;
    if (p_ < end_ && *p_ == '-')
      ++p_;
    if (p_ >= end_ || !isDigit(*p_))
      syntax();
    if (*p_ == '0') {
      ++p_;
    } else {
      digits();
    }
    integral = true;
    if (p_ < end_ && *p_ == '.') {
      ++p_;
      if (p_ >= end_ || !isDigit(*p_))
        syntax();
      digits();
      integral = false;
    }
    if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
      ++p_;
      if (p_ < end_ && (*p_ == '+' || *p_ == '-'))
        ++p_;
      if (p_ >= end_ || !isDigit(*p_))
        syntax();
      digits();
      integral = false;
    }
    double result = 0;
    const auto [end, error] = std::from_chars(start, p_, result);
    if (error != std::errc() || end != p_ || !std::isfinite(result))
      syntax();
    return result;
  }

  bool boolean() {
    if (peek() == 't') {
      literal("true");
      return true;
    }
    if (peek() == 'f') {
      literal("false");
      return false;
    }
    skip();
    throw PacketError("Pacote inválido: esperado verdadeiro ou falso.");
  }

  // Reads past any JSON value.
  void skip() {
    switch (peek()) {
      case '{':
        object([&](const std::string&) { skip(); });
        return;
      case '[':
        array([&] { skip(); });
        return;
      case '"':
        string();
        return;
      case 't':
        literal("true");
        return;
      case 'f':
        literal("false");
        return;
      case 'n':
        literal("null");
        return;
      default:
        number();
    }
  }

 private:
  // Counts one level of arrays and objects while it is read; reading deeper than the limit
  // stops before the recursion could exhaust the stack.
  class Nesting {
   public:
    explicit Nesting(Reader& reader) : reader_(reader) {
      if (++reader_.depth_ > reader_.limits_.maxDepth) {
        throw JsonLimitError(fmt::format(
            "A requisição aninha listas e objetos em mais de {} níveis e não foi processada.",
            reader_.limits_.maxDepth));
      }
    }
    ~Nesting() { --reader_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Reader& reader_;
  };

  // Each element of an array and member of an object counts as one value.
  void countValue() {
    if (++values_ > limits_.maxValues) {
      throw JsonLimitError(fmt::format("A requisição tem mais de {} valores e não foi processada.",
                                       limits_.maxValues));
    }
  }

  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  void digits() {
    while (p_ < end_ && isDigit(*p_))
      ++p_;
  }

  void literal(std::string_view word) {
    skipSpace();
    if (static_cast<size_t>(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word)
      syntax();
    p_ += word.size();
  }

  unsigned hex4() {
    if (end_ - p_ < 4)
      syntax();
    unsigned code = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = *p_++;
      code <<= 4;
      if (c >= '0' && c <= '9')
        code |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        code |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        code |= static_cast<unsigned>(c - 'A' + 10);
      else
        syntax();
    }
    return code;
  }

  void escape(std::string& out) {
    if (p_ >= end_)
      syntax();
    const char c = *p_++;
    switch (c) {
      case '"':
      case '\\':
      case '/':
        out += c;
        return;
      case 'b':
        out += '\b';
        return;
      case 'f':
        out += '\f';
        return;
      case 'n':
        out += '\n';
        return;
      case 'r':
        out += '\r';
        return;
      case 't':
        out += '\t';
        return;
      case 'u':
        break;
      default:
        syntax();
    }
    unsigned code = hex4();
    if (code >= 0xDC00 && code <= 0xDFFF)
      syntax();
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u')
        syntax();
      p_ += 2;
      const unsigned low = hex4();
      if (low < 0xDC00 || low > 0xDFFF)
        syntax();
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  // Moves past one well-formed UTF-8 sequence of two or more bytes.
  void utf8() {
    const auto c = static_cast<unsigned char>(*p_);
    int length = 0;
    unsigned code = 0;
    unsigned min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2, code = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3, code = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4, code = c & 0x07, min = 0x10000;
    } else {
      syntax();
    }
    if (end_ - p_ < length)
      syntax();
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(p_[k]);
      if ((next & 0xC0) != 0x80)
        syntax();
      code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      syntax();
    p_ += length;
  }

  const char* p_;
  const char* end_;
  const ReadLimits limits_;
  size_t depth_ = 0;
  size_t values_ = 0;
};

// ---- shapes ----

std::vector<FieldDef> readFields(Reader& in) {
  if (in.peek() != '[') {
    in.skip();
    throw PacketError("Pacote inválido: 'fields' deve ser uma lista.");
  }
  std::vector<FieldDef> fields;
  in.array([&] {
    if (in.peek() != '{') {
      in.skip();
      throw PacketError("Pacote inválido: definição de campo sem nome ou tipo.");
    }
    FieldDef field;
    bool named = false;
    bool typed = false;
    std::string type;
    bool sized = false;
    bool goodSize = true;
    double size = 0;
    in.object([&](const std::string& key) {
      if (key == "name" && in.peek() == '"') {
        field.name = in.string();
        named = true;
      } else if (key == "type" && in.peek() == '"') {
        type = in.string();
        typed = true;
      } else if (key == "size") {
        sized = true;
        const char c = in.peek();
        if (c == '-' || (c >= '0' && c <= '9')) {
          bool integral = false;
          size = in.number(integral);
          goodSize = integral && size >= 0 && size <= 2147483647;
        } else {
          in.skip();
          goodSize = false;
        }
      } else {
        if (key == "name")
          named = false;
        if (key == "type")
          typed = false;
        in.skip();
      }
    });
    if (!named || !typed)
      throw PacketError("Pacote inválido: definição de campo sem nome ou tipo.");
    field.type = fieldTypeFromName(type);
    if (sized && !goodSize) {
      throw PacketError(fmt::format("Pacote inválido: tamanho do campo {} inválido.", field.name));
    }
    field.size = static_cast<int>(size);
    fields.push_back(std::move(field));
  });
  return fields;
}

Row readRow(Reader& in, size_t widthHint, const char* notAList) {
  if (in.peek() != '[') {
    in.skip();
    throw PacketError(notAList);
  }
  Row row;
  row.reserve(widthHint);
  in.array([&] { row.push_back(in.value()); });
  return row;
}

std::vector<Row> readRows(Reader& in, size_t widthHint, const char* notAList,
                          const char* rowNotAList) {
  if (in.peek() != '[') {
    in.skip();
    throw PacketError(notAList);
  }
  std::vector<Row> rows;
  in.array([&] { rows.push_back(readRow(in, widthHint, rowNotAList)); });
  return rows;
}

std::int64_t readVersion(Reader& in) {
  const char c = in.peek();
  if (c == '-' || (c >= '0' && c <= '9')) {
    bool integral = false;
    const double number = in.number(integral);
    if (integral && number >= 0 && number <= 9007199254740992.0)
      return static_cast<std::int64_t>(number);
  } else {
    in.skip();
  }
  throw PacketError("Pacote inválido: versão inválida.");
}

std::vector<std::string> readNames(Reader& in) {
  std::vector<std::string> names;
  if (in.peek() != '[') {
    in.skip();
    throw PacketError("Pacote inválido: 'keys' deve ser uma lista de nomes.");
  }
  in.array([&] {
    if (in.peek() != '"') {
      in.skip();
      throw PacketError("Pacote inválido: 'keys' deve ser uma lista de nomes.");
    }
    names.push_back(in.string());
  });
  return names;
}

std::vector<OrderField> readOrder(Reader& in) {
  const char* const message = "Pacote inválido: 'order' deve listar campos.";
  std::vector<OrderField> order;
  if (in.peek() != '[') {
    in.skip();
    throw PacketError(message);
  }
  in.array([&] {
    if (in.peek() != '{') {
      in.skip();
      throw PacketError(message);
    }
    OrderField level;
    bool named = false;
    in.object([&](const std::string& key) {
      if (key == "field" && in.peek() == '"') {
        level.field = in.string();
        named = true;
      } else if (key == "names") {
        level.asName = in.boolean();
      } else {
        in.skip();
      }
    });
    if (!named)
      throw PacketError(message);
    order.push_back(std::move(level));
  });
  return order;
}

void checkWidth(const std::vector<Row>& rows, size_t width, const char* message) {
  for (const Row& row : rows) {
    if (row.size() != width)
      throw PacketError(fmt::format(fmt::runtime(message), width));
  }
}

Packet readPacket(Reader& in) {
  if (in.peek() != '{') {
    in.skip();
    throw PacketError("Pacote inválido: falta 'fields'.");
  }
  Packet packet;
  bool hasFields = false;
  bool hasRows = false;
  PacketChanges changes;
  bool partial = false;
  in.object([&](const std::string& key) {
    if (key == "fields") {
      packet.fields = readFields(in);
      hasFields = true;
    } else if (key == "rows") {
      packet.rows =
          readRows(in, packet.fields.size(), "Pacote inválido: 'rows' deve ser uma lista.",
                   "Pacote inválido: cada linha deve ser uma lista de valores.");
      hasRows = true;
    } else if (key == "version") {
      packet.version = readVersion(in);
    } else if (key == "since") {
      changes.since = readVersion(in);
      partial = true;
    } else if (key == "keys") {
      changes.keyFields = readNames(in);
    } else if (key == "removed") {
      changes.removed = readRows(in, 3, "Pacote inválido: 'removed' deve ser uma lista.",
                                 "Pacote inválido: cada chave retirada deve ser uma lista.");
    } else if (key == "order") {
      changes.order = readOrder(in);
    } else {
      in.skip();
    }
  });
  if (!hasFields)
    throw PacketError("Pacote inválido: falta 'fields'.");
  if (!hasRows)
    throw PacketError("Pacote inválido: falta 'rows'.");
  checkWidth(packet.rows, packet.fields.size(), "Pacote inválido: cada linha deve ter {} valores.");
  if (partial) {
    checkWidth(changes.removed, changes.keyFields.size(),
               "Pacote inválido: cada chave retirada deve ter {} valores.");
    packet.changes = std::move(changes);
  }
  return packet;
}

Delta readDelta(Reader& in) {
  if (in.peek() != '{') {
    in.skip();
    throw PacketError("Delta inválido: falta 'fields'.");
  }
  Delta delta;
  bool hasFields = false;
  bool hasChanges = false;
  // Each change keeps which of its rows came, to check them once the fields are known.
  struct Seen {
    bool kind = false, old = false, now = false;
  };
  std::vector<Seen> seen;
  in.object([&](const std::string& key) {
    if (key == "fields") {
      delta.fields = readFields(in);
      hasFields = true;
      return;
    }
    if (key != "changes") {
      in.skip();
      return;
    }
    hasChanges = true;
    if (in.peek() != '[') {
      in.skip();
      throw PacketError("Delta inválido: 'changes' deve ser uma lista.");
    }
    in.array([&] {
      if (in.peek() != '{') {
        in.skip();
        throw PacketError("Delta inválido: falta 'kind'.");
      }
      Change change;
      Seen mark;
      in.object([&](const std::string& member) {
        if (member == "kind") {
          if (in.peek() != '"') {
            in.skip();
            throw PacketError("Delta inválido: tipo de alteração deve ser texto.");
          }
          const std::string name = in.string();
          if (name == "insert") {
            change.kind = ChangeKind::Insert;
          } else if (name == "modify") {
            change.kind = ChangeKind::Modify;
          } else if (name == "delete") {
            change.kind = ChangeKind::Delete;
          } else {
            throw PacketError("Delta inválido: tipo de alteração desconhecido '" + name + "'.");
          }
          mark.kind = true;
        } else if (member == "old" || member == "new") {
          const std::string message =
              fmt::format("Pacote inválido: cada linha deve ter {} valores.", delta.fields.size());
          Row row = readRow(in, delta.fields.size(), message.c_str());
          if (member == "old") {
            change.oldValues = std::move(row);
            mark.old = true;
          } else {
            change.newValues = std::move(row);
            mark.now = true;
          }
        } else {
          in.skip();
        }
      });
      if (!mark.kind)
        throw PacketError("Delta inválido: falta 'kind'.");
      delta.changes.push_back(std::move(change));
      seen.push_back(mark);
    });
  });
  if (!hasFields)
    throw PacketError("Delta inválido: falta 'fields'.");
  if (!hasChanges)
    throw PacketError("Delta inválido: falta 'changes'.");
  const size_t width = delta.fields.size();
  for (size_t i = 0; i < delta.changes.size(); ++i) {
    Change& change = delta.changes[i];
    const bool needsOld = change.kind != ChangeKind::Insert;
    const bool needsNew = change.kind != ChangeKind::Delete;
    if (needsOld && !seen[i].old)
      throw PacketError("Delta inválido: falta 'old'.");
    if (needsNew && !seen[i].now)
      throw PacketError("Delta inválido: falta 'new'.");
    if ((needsOld && change.oldValues.size() != width) ||
        (needsNew && change.newValues.size() != width)) {
      throw PacketError(fmt::format("Pacote inválido: cada linha deve ter {} valores.", width));
    }
    if (!needsOld)
      change.oldValues.clear();
    if (!needsNew)
      change.newValues.clear();
  }
  return delta;
}

Arg readArg(Reader& in) {
  const char* const message = "Argumento inválido: esperado texto, número, nulo, data ou delta.";
  if (in.peek() != '{')
    return std::visit([](auto&& v) -> Arg { return std::move(v); }, in.value(message));
  Arg arg;
  int members = 0;
  bool known = false;
  in.object([&](const std::string& key) {
    ++members;
    if (key == "date" && members == 1) {
      const char c = in.peek();
      if (c == '-' || (c >= '0' && c <= '9')) {
        arg = DateArg{in.number()};
        known = true;
        return;
      }
    } else if (key == "delta" && members == 1) {
      arg = readDelta(in);
      known = true;
      return;
    }
    in.skip();
  });
  if (!known || members != 1)
    throw PacketError(message);
  return arg;
}

}  // namespace

Packet packetFromJsonText(std::string_view text) {
  Reader in(text);
  Packet packet = readPacket(in);
  in.finish();
  return packet;
}

Delta deltaFromJsonText(std::string_view text) {
  Reader in(text);
  Delta delta = readDelta(in);
  in.finish();
  return delta;
}

std::vector<Arg> argsFromJsonText(std::string_view text, const ReadLimits& limits) {
  Reader in(text, limits);
  if (in.peek() != '[') {
    in.skip();
    in.finish();
    throw PacketError("Os argumentos devem vir numa lista JSON.");
  }
  std::vector<Arg> args;
  in.array([&] {
    if (args.size() == limits.maxArgs) {
      throw JsonLimitError(fmt::format(
          "A requisição tem mais de {} argumentos e não foi processada.", limits.maxArgs));
    }
    args.push_back(readArg(in));
  });
  in.finish();
  return args;
}

CallResult callResultFromJsonText(std::string_view text) {
  Reader in(text);
  if (in.peek() != '{') {
    in.skip();
    in.finish();
    throw PacketError("Resposta do servidor inválida: falta o status.");
  }
  CallResult result;
  bool hasStatus = false;
  in.object([&](const std::string& key) {
    if (key == "status") {
      if (in.peek() != '"') {
        in.skip();
        throw PacketError("Resposta do servidor inválida: falta o status.");
      }
      const std::string status = in.string();
      if (status != "ok" && status != "error")
        throw PacketError("Resposta do servidor inválida: status '" + status + "'.");
      result.ok = status == "ok";
      hasStatus = true;
    } else if (key == "message") {
      if (in.peek() != '"') {
        in.skip();
        throw PacketError("Resposta do servidor inválida: mensagem.");
      }
      result.message = in.string();
    } else if (key == "packet") {
      if (in.nullLiteral())
        result.packet.reset();
      else
        result.packet = readPacket(in);
    } else {
      in.skip();
    }
  });
  in.finish();
  if (!hasStatus)
    throw PacketError("Resposta do servidor inválida: falta o status.");
  return result;
}

}  // namespace packet
