// Reading the wire text straight into packets, deltas, arguments and call results.
//
// Each wire shape is a Shape of the event reader (packet/json_event_reader.h): values of rows
// go straight into rows, and members a shape does not know are skipped (so a newer peer may add
// members). The shape checks and messages are those of the tree codec. A shape is reused for
// every array or object of its kind, so reading allocates only what the result keeps.
#include <fmt/format.h>

#include "packet/json_event_reader.h"
#include "packet/json_text.h"

namespace packet {

namespace {

using Kind = JsonEvent::Kind;

const char* const kBadValue = "Valor inválido no pacote: esperado texto, número ou nulo.";
const char* const kBadArg = "Argumento inválido: esperado texto, número, nulo, data ou delta.";
const char* const kBadField = "Pacote inválido: definição de campo sem nome ou tipo.";
const char* const kBadOrder = "Pacote inválido: 'order' deve listar campos.";
const char* const kBadKeys = "Pacote inválido: 'keys' deve ser uma lista de nomes.";
const char* const kNoStatus = "Resposta do servidor inválida: falta o status.";

std::string widthMessage(size_t width) {
  return fmt::format("Pacote inválido: cada linha deve ter {} valores.", width);
}

// Reads a shape from its root value: `open(reader, event)` names the shape for its contents.
template <class Open>
class Root : public Shape {
 public:
  explicit Root(Open open) : open_(std::move(open)) {}
  Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
    return open_(reader, event);
  }

 private:
  Open open_;
};

// The values of one row: texts, numbers and nulls.
class RowShape : public Shape {
 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, Row& row, size_t widthHint,
              std::string notAList) {
    if (event.kind != Kind::Array)
      return reader.refuse(event, std::move(notAList));
    row_ = &row;
    row_->reserve(widthHint);
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
    switch (event.kind) {
      case Kind::Null:
        row_->emplace_back();
        return nullptr;
      case Kind::String:
        row_->emplace_back(std::string(event.text));
        return nullptr;
      case Kind::Number:
        row_->emplace_back(event.number);
        return nullptr;
      default:
        return reader.refuse(event, kBadValue);
    }
  }

 private:
  Row* row_ = nullptr;
};

// A list of rows (the rows of a packet, or the keys of the rows it removes).
class RowsShape : public Shape {
 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, std::vector<Row>& rows, size_t widthHint,
              const char* notAList, const char* rowNotAList) {
    if (event.kind != Kind::Array)
      return reader.refuse(event, notAList);
    rows_ = &rows;
    rows_->clear();
    widthHint_ = widthHint;
    rowNotAList_ = rowNotAList;
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
    if (event.kind != Kind::Array)
      return reader.refuse(event, rowNotAList_);
    return row_.open(reader, event, rows_->emplace_back(), widthHint_, rowNotAList_);
  }

 private:
  RowShape row_;
  std::vector<Row>* rows_ = nullptr;
  size_t widthHint_ = 0;
  const char* rowNotAList_ = nullptr;
};

// The rows of a packet read packed: each row's values go straight into its block.
class PackedRowsShape : public Shape {
  // The values of one row: the reader adds its texts, numbers and nulls to the row's builder
  // itself, so only values of another kind come here.
  class RowShape : public Shape {
   public:
    explicit RowShape(PackedRowBuilder& builder) : builder_(builder) {}
    Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
      return reader.refuse(event, kBadValue);
    }
    void end() override { rows_->push_back(builder_.take()); }
    PackedRowBuilder* packedRow() override { return &builder_; }

    std::vector<PackedRow>* rows_ = nullptr;

   private:
    PackedRowBuilder& builder_;
  };

 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, std::vector<PackedRow>& rows,
              const char* notAList, const char* rowNotAList) {
    if (event.kind != Kind::Array)
      return reader.refuse(event, notAList);
    rows.clear();
    row_.rows_ = &rows;
    rowNotAList_ = rowNotAList;
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
    if (event.kind != Kind::Array)
      return reader.refuse(event, rowNotAList_);
    return &row_;
  }

 private:
  PackedRowBuilder builder_;
  RowShape row_{builder_};
  const char* rowNotAList_ = nullptr;
};

// One field definition: {"name", "type", "size" of a text}.
class FieldShape : public Shape {
 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, std::vector<FieldDef>& fields) {
    if (event.kind != Kind::Object)
      return reader.refuse(event, kBadField);
    fields_ = &fields;
    field_ = FieldDef();
    type_.clear();
    named_ = typed_ = sized_ = false;
    goodSize_ = true;
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view key, const JsonEvent& event) override {
    const bool text = event.kind == Kind::String;
    if (key == "name") {
      named_ = text;
      if (text)
        field_.name = event.text;
    } else if (key == "type") {
      typed_ = text;
      if (text)
        type_ = event.text;
    } else if (key == "size") {
      sized_ = true;
      goodSize_ = event.kind == Kind::Number && event.integral && event.number >= 0 &&
                  event.number <= 2147483647;
      if (goodSize_)
        field_.size = static_cast<int>(event.number);
    }
    return reader.skip(event);
  }

  void end() override {
    if (!named_ || !typed_)
      throw PacketError(kBadField);
    field_.type = fieldTypeFromName(type_);
    if (sized_ && !goodSize_) {
      throw PacketError(fmt::format("Pacote inválido: tamanho do campo {} inválido.", field_.name));
    }
    fields_->push_back(std::move(field_));
  }

 private:
  std::vector<FieldDef>* fields_ = nullptr;
  FieldDef field_;
  std::string type_;
  bool named_ = false, typed_ = false, sized_ = false, goodSize_ = true;
};

class FieldsShape : public Shape {
 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, std::vector<FieldDef>& fields) {
    if (event.kind != Kind::Array)
      return reader.refuse(event, "Pacote inválido: 'fields' deve ser uma lista.");
    fields_ = &fields;
    fields_->clear();
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
    return field_.open(reader, event, *fields_);
  }

 private:
  FieldShape field_;
  std::vector<FieldDef>* fields_ = nullptr;
};

// The key fields of a partial packet: a list of names.
class NamesShape : public Shape {
 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, std::vector<std::string>& names) {
    if (event.kind != Kind::Array)
      return reader.refuse(event, kBadKeys);
    names_ = &names;
    names_->clear();
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
    if (event.kind != Kind::String)
      return reader.refuse(event, kBadKeys);
    names_->emplace_back(event.text);
    return nullptr;
  }

 private:
  std::vector<std::string>* names_ = nullptr;
};

// One level of the order of a partial packet: {"field", "names": true|false}.
class OrderLevelShape : public Shape {
 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, std::vector<OrderField>& order) {
    if (event.kind != Kind::Object)
      return reader.refuse(event, kBadOrder);
    order_ = &order;
    level_ = OrderField();
    named_ = false;
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view key, const JsonEvent& event) override {
    if (key == "field" && event.kind == Kind::String) {
      level_.field = event.text;
      named_ = true;
    } else if (key == "names") {
      if (event.kind != Kind::Boolean)
        return reader.refuse(event, "Pacote inválido: esperado verdadeiro ou falso.");
      level_.asName = event.boolean;
    }
    return reader.skip(event);
  }

  void end() override {
    if (!named_)
      throw PacketError(kBadOrder);
    order_->push_back(std::move(level_));
  }

 private:
  std::vector<OrderField>* order_ = nullptr;
  OrderField level_;
  bool named_ = false;
};

class OrderShape : public Shape {
 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, std::vector<OrderField>& order) {
    if (event.kind != Kind::Array)
      return reader.refuse(event, kBadOrder);
    order_ = &order;
    order_->clear();
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
    return level_.open(reader, event, *order_);
  }

 private:
  OrderLevelShape level_;
  std::vector<OrderField>* order_ = nullptr;
};

template <class Rows>
void checkWidth(const Rows& rows, size_t width, const char* message) {
  for (const auto& row : rows) {
    if (row.size() != width)
      throw PacketError(fmt::format(fmt::runtime(message), width));
  }
}

// A version: a whole number from 0 to 2^53.
Shape* readVersion(JsonReader& reader, const JsonEvent& event, std::int64_t& version) {
  if (event.kind == Kind::Number && event.integral && event.number >= 0 &&
      event.number <= 9007199254740992.0) {
    version = static_cast<std::int64_t>(event.number);
    return nullptr;
  }
  return reader.refuse(event, "Pacote inválido: versão inválida.");
}

class PacketShape : public Shape {
 public:
  explicit PacketShape(RowForm form = RowForm::Values) : form_(form) {}

  Shape* open(JsonReader& reader, const JsonEvent& event, Packet& packet) {
    if (event.kind != Kind::Object)
      return reader.refuse(event, "Pacote inválido: falta 'fields'.");
    packet_ = &packet;
    *packet_ = Packet();
    changes_ = PacketChanges();
    hasFields_ = hasRows_ = partial_ = false;
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view key, const JsonEvent& event) override {
    if (key == "fields") {
      hasFields_ = true;
      return fields_.open(reader, event, packet_->fields);
    }
    if (key == "rows") {
      hasRows_ = true;
      if (form_ == RowForm::Packed) {
        return packedRows_.open(reader, event, packet_->packedRows,
                                "Pacote inválido: 'rows' deve ser uma lista.",
                                "Pacote inválido: cada linha deve ser uma lista de valores.");
      }
      return rows_.open(reader, event, packet_->rows, packet_->fields.size(),
                        "Pacote inválido: 'rows' deve ser uma lista.",
                        "Pacote inválido: cada linha deve ser uma lista de valores.");
    }
    if (key == "version")
      return readVersion(reader, event, packet_->version);
    if (key == "since") {
      partial_ = true;
      return readVersion(reader, event, changes_.since);
    }
    if (key == "keys")
      return names_.open(reader, event, changes_.keyFields);
    if (key == "removed") {
      return rows_.open(reader, event, changes_.removed, 3,
                        "Pacote inválido: 'removed' deve ser uma lista.",
                        "Pacote inválido: cada chave retirada deve ser uma lista.");
    }
    if (key == "order")
      return order_.open(reader, event, changes_.order);
    return reader.skip(event);
  }

  void end() override {
    if (!hasFields_)
      throw PacketError("Pacote inválido: falta 'fields'.");
    if (!hasRows_)
      throw PacketError("Pacote inválido: falta 'rows'.");
    checkWidth(packet_->rows, packet_->fields.size(),
               "Pacote inválido: cada linha deve ter {} valores.");
    checkWidth(packet_->packedRows, packet_->fields.size(),
               "Pacote inválido: cada linha deve ter {} valores.");
    if (partial_) {
      checkWidth(changes_.removed, changes_.keyFields.size(),
                 "Pacote inválido: cada chave retirada deve ter {} valores.");
      packet_->changes = std::move(changes_);
    }
  }

 private:
  FieldsShape fields_;
  const RowForm form_;
  RowsShape rows_;
  PackedRowsShape packedRows_;
  NamesShape names_;
  OrderShape order_;
  Packet* packet_ = nullptr;
  PacketChanges changes_;
  bool hasFields_ = false, hasRows_ = false, partial_ = false;
};

// One change of a delta: {"kind", "old" row, "new" row}.
class ChangeShape : public Shape {
 public:
  // Which rows a change came with, to check them once the delta's fields are known.
  struct Seen {
    bool kind = false, old = false, now = false;
  };

  Shape* open(JsonReader& reader, const JsonEvent& event, Delta& delta, std::vector<Seen>& seen) {
    if (event.kind != Kind::Object)
      return reader.refuse(event, "Delta inválido: falta 'kind'.");
    delta_ = &delta;
    seen_ = &seen;
    change_ = Change();
    mark_ = Seen();
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view key, const JsonEvent& event) override {
    if (key == "kind") {
      if (event.kind != Kind::String)
        return reader.refuse(event, "Delta inválido: tipo de alteração deve ser texto.");
      if (event.text == "insert") {
        change_.kind = ChangeKind::Insert;
      } else if (event.text == "modify") {
        change_.kind = ChangeKind::Modify;
      } else if (event.text == "delete") {
        change_.kind = ChangeKind::Delete;
      } else {
        throw PacketError("Delta inválido: tipo de alteração desconhecido '" +
                          std::string(event.text) + "'.");
      }
      mark_.kind = true;
      return nullptr;
    }
    if (key == "old" || key == "new") {
      const bool old = key == "old";
      Row& row = old ? change_.oldValues : change_.newValues;
      row.clear();
      (old ? mark_.old : mark_.now) = true;
      const size_t width = delta_->fields.size();
      return row_.open(reader, event, row, width, widthMessage(width));
    }
    return reader.skip(event);
  }

  void end() override {
    if (!mark_.kind)
      throw PacketError("Delta inválido: falta 'kind'.");
    delta_->changes.push_back(std::move(change_));
    seen_->push_back(mark_);
  }

 private:
  RowShape row_;
  Delta* delta_ = nullptr;
  std::vector<Seen>* seen_ = nullptr;
  Change change_;
  Seen mark_;
};

class ChangesShape : public Shape {
 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, Delta& delta,
              std::vector<ChangeShape::Seen>& seen) {
    if (event.kind != Kind::Array)
      return reader.refuse(event, "Delta inválido: 'changes' deve ser uma lista.");
    delta_ = &delta;
    seen_ = &seen;
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
    return change_.open(reader, event, *delta_, *seen_);
  }

 private:
  ChangeShape change_;
  Delta* delta_ = nullptr;
  std::vector<ChangeShape::Seen>* seen_ = nullptr;
};

class DeltaShape : public Shape {
 public:
  Shape* open(JsonReader& reader, const JsonEvent& event, Delta& delta) {
    if (event.kind != Kind::Object)
      return reader.refuse(event, "Delta inválido: falta 'fields'.");
    delta_ = &delta;
    *delta_ = Delta();
    seen_.clear();
    hasFields_ = hasChanges_ = false;
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view key, const JsonEvent& event) override {
    if (key == "fields") {
      hasFields_ = true;
      return fields_.open(reader, event, delta_->fields);
    }
    if (key == "changes") {
      hasChanges_ = true;
      return changes_.open(reader, event, *delta_, seen_);
    }
    return reader.skip(event);
  }

  void end() override {
    if (!hasFields_)
      throw PacketError("Delta inválido: falta 'fields'.");
    if (!hasChanges_)
      throw PacketError("Delta inválido: falta 'changes'.");
    const size_t width = delta_->fields.size();
    for (size_t i = 0; i < delta_->changes.size(); ++i) {
      Change& change = delta_->changes[i];
      const bool needsOld = change.kind != ChangeKind::Insert;
      const bool needsNew = change.kind != ChangeKind::Delete;
      if (needsOld && !seen_[i].old)
        throw PacketError("Delta inválido: falta 'old'.");
      if (needsNew && !seen_[i].now)
        throw PacketError("Delta inválido: falta 'new'.");
      if ((needsOld && change.oldValues.size() != width) ||
          (needsNew && change.newValues.size() != width)) {
        throw PacketError(widthMessage(width));
      }
      if (!needsOld)
        change.oldValues.clear();
      if (!needsNew)
        change.newValues.clear();
    }
  }

 private:
  FieldsShape fields_;
  ChangesShape changes_;
  Delta* delta_ = nullptr;
  std::vector<ChangeShape::Seen> seen_;
  bool hasFields_ = false, hasChanges_ = false;
};

// An argument given as an object: {"date": day count} or {"delta": {...}}, alone.
class TaggedArgShape : public Shape {
 public:
  Shape* open(std::vector<Arg>& args) {
    args_ = &args;
    arg_ = Arg();
    members_ = 0;
    known_ = false;
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view key, const JsonEvent& event) override {
    if (++members_ == 1) {
      if (key == "date" && event.kind == Kind::Number) {
        arg_ = DateArg{event.number};
        known_ = true;
        return nullptr;
      }
      if (key == "delta") {
        known_ = true;
        return delta_.open(reader, event, arg_.emplace<Delta>());
      }
    }
    return reader.skip(event);
  }

  void end() override {
    if (!known_ || members_ != 1)
      throw PacketError(kBadArg);
    args_->push_back(std::move(arg_));
  }

 private:
  DeltaShape delta_;
  std::vector<Arg>* args_ = nullptr;
  Arg arg_;
  int members_ = 0;
  bool known_ = false;
};

// The positional arguments of a call: a list, at most ReadLimits::maxArgs long.
class ArgsShape : public Shape {
 public:
  ArgsShape(std::vector<Arg>& args, size_t maxArgs) : args_(args), maxArgs_(maxArgs) {}

  Shape* open(JsonReader& reader, const JsonEvent& event) {
    if (event.kind != Kind::Array)
      return reader.refuse(event, "Os argumentos devem vir numa lista JSON.");
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view, const JsonEvent& event) override {
    if (++count_ > maxArgs_) {
      throw JsonLimitError(
          fmt::format("A requisição tem mais de {} argumentos e não foi processada.", maxArgs_));
    }
    switch (event.kind) {
      case Kind::Null:
        args_.emplace_back();
        return nullptr;
      case Kind::String:
        args_.emplace_back(std::string(event.text));
        return nullptr;
      case Kind::Number:
        args_.emplace_back(event.number);
        return nullptr;
      case Kind::Object:
        return tagged_.open(args_);
      default:
        return reader.refuse(event, kBadArg);
    }
  }

 private:
  TaggedArgShape tagged_;
  std::vector<Arg>& args_;
  const size_t maxArgs_;
  size_t count_ = 0;
};

class CallResultShape : public Shape {
 public:
  CallResultShape(CallResult& result, RowForm form) : packet_(form), result_(result) {}

  Shape* open(JsonReader& reader, const JsonEvent& event) {
    if (event.kind != Kind::Object)
      return reader.refuse(event, kNoStatus);
    return this;
  }

  Shape* value(JsonReader& reader, std::string_view key, const JsonEvent& event) override {
    if (key == "status") {
      if (event.kind != Kind::String)
        return reader.refuse(event, kNoStatus);
      if (event.text != "ok" && event.text != "error") {
        throw PacketError("Resposta do servidor inválida: status '" + std::string(event.text) +
                          "'.");
      }
      result_.ok = event.text == "ok";
      hasStatus = true;
    } else if (key == "message") {
      if (event.kind != Kind::String)
        return reader.refuse(event, "Resposta do servidor inválida: mensagem.");
      result_.message = event.text;
    } else if (key == "packet") {
      if (event.kind == Kind::Null) {
        result_.packet.reset();
        return nullptr;
      }
      return packet_.open(reader, event, result_.packet.emplace());
    }
    return reader.skip(event);
  }

  bool hasStatus = false;

 private:
  PacketShape packet_;
  CallResult& result_;
};

}  // namespace

Packet packetFromJsonText(std::string_view text) {
  Packet packet;
  PacketShape shape;
  Root root([&](JsonReader& reader, const JsonEvent& event) {
    return shape.open(reader, event, packet);
  });
  JsonReader().read(text, root);
  return packet;
}

Delta deltaFromJsonText(std::string_view text) {
  Delta delta;
  DeltaShape shape;
  Root root(
      [&](JsonReader& reader, const JsonEvent& event) { return shape.open(reader, event, delta); });
  JsonReader().read(text, root);
  return delta;
}

std::vector<Arg> argsFromJsonText(std::string_view text, const ReadLimits& limits) {
  std::vector<Arg> args;
  ArgsShape shape(args, limits.maxArgs);
  Root root([&](JsonReader& reader, const JsonEvent& event) { return shape.open(reader, event); });
  JsonReader(limits).read(text, root);
  return args;
}

namespace {

template <class Read>
CallResult readCallResult(Read read, RowForm form = RowForm::Values) {
  CallResult result;
  CallResultShape shape(result, form);
  Root root([&](JsonReader& reader, const JsonEvent& event) { return shape.open(reader, event); });
  JsonReader reader;
  read(reader, root);
  if (!shape.hasStatus)
    throw PacketError(kNoStatus);
  return result;
}

}  // namespace

CallResult callResultFromJsonText(std::string_view text) {
  return readCallResult([&](JsonReader& reader, Shape& root) { reader.read(text, root); });
}

CallResult callResultFromJsonTextInPlace(std::string& text, RowForm form) {
  return readCallResult([&](JsonReader& reader, Shape& root) { reader.readInPlace(text, root); },
                        form);
}

}  // namespace packet
