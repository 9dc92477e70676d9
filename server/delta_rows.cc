#include "server/delta_rows.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "server/day_count.h"
#include "server/method_error.h"

namespace server {

namespace {

const packet::Value kNull{};

bool isBlank(const packet::Value& v) {
  if (packet::isNull(v))
    return true;
  const auto* text = std::get_if<std::string>(&v);
  return text != nullptr && text->empty();
}

bool isTextField(const FieldSpec& f) {
  return f.type == packet::FieldType::Text;
}

const char* kindName(const FieldSpec& f) {
  return isTextField(f) ? "texto" : "numérico";
}

// Checks one value of a change against its field; the field is known to the data set. New
// values of date fields must be dates the system accepts (or 0, "no date"); old values are only
// compared with the stored row, so a stored date from before these bounds can still be edited.
void checkValue(const FieldSpec& field, const packet::Value& value, bool isNew, int changeNumber) {
  if (packet::isNull(value))
    return;
  if (isTextField(field) != packet::isText(value)) {
    throw MethodError(fmt::format("Alteração {}: o campo '{}' deve receber um valor {}.",
                                  changeNumber, field.name, kindName(field)));
  }
  if (const auto* number = std::get_if<double>(&value)) {
    if (!std::isfinite(*number)) {
      throw MethodError(fmt::format("Alteração {}: o campo '{}' recebeu um número inválido.",
                                    changeNumber, field.name));
    }
    if (isNew && field.type == packet::FieldType::DateTime && *number != 0 &&
        !isAcceptedDate(*number)) {
      throw MethodError(fmt::format(
          "Alteração {}: a data do campo '{}' está fora do intervalo aceito (01/01/1900 a "
          "31/12/9999).",
          changeNumber, field.name));
    }
    return;
  }
  const bool written = field.role == FieldRole::Key || field.role == FieldRole::Stored;
  if (written && isTextField(field) && field.size > 0 &&
      characterCount(std::get<std::string>(value)) > static_cast<size_t>(field.size)) {
    throw MethodError(fmt::format("Alteração {}: o campo '{}' aceita no máximo {} caracteres.",
                                  changeNumber, field.name, field.size));
  }
}

Record toRecord(const packet::Row& row, const std::vector<const FieldSpec*>& fields, bool isNew,
                int changeNumber) {
  Record record;
  for (size_t i = 0; i < fields.size(); ++i) {
    checkValue(*fields[i], row[i], isNew, changeNumber);
    record.set(fields[i]->name, row[i]);
  }
  return record;
}

void requireKeys(const Record& record, const DataSetSpec& spec, int changeNumber) {
  for (const auto& f : spec.fields()) {
    if (f.role == FieldRole::Key && isBlank(record.get(f.name))) {
      throw MethodError(
          fmt::format("Alteração {}: o campo-chave '{}' está vazio.", changeNumber, f.name));
    }
  }
}

void requireSameKeys(const RowChange& change, const DataSetSpec& spec) {
  for (const auto& f : spec.fields()) {
    if (f.role != FieldRole::Key)
      continue;
    const auto& before = change.before.get(f.name);
    const auto& after = change.after.get(f.name);
    if (!sameValue(before, after)) {
      throw MethodError(
          fmt::format("Alteração {}: o campo-chave '{}' não pode ser alterado (de {} para {}).",
                      change.number, f.name, describeValue(before), describeValue(after)));
    }
  }
}

}  // namespace

const packet::Value& Record::get(std::string_view field) const {
  const auto it = values_.find(field);
  return it == values_.end() ? kNull : it->second;
}

void Record::set(std::string_view field, packet::Value value) {
  values_.insert_or_assign(std::string(field), std::move(value));
}

std::vector<RowChange> readDelta(const packet::Delta& delta, const DataSetSpec& spec) {
  std::vector<const FieldSpec*> fields;
  fields.reserve(delta.fields.size());
  for (const auto& def : delta.fields) {
    const FieldSpec* field = spec.find(def.name);
    if (field == nullptr) {
      throw MethodError(
          fmt::format("O campo '{}' não pertence ao conjunto {}.", def.name, spec.name()));
    }
    if (std::find(fields.begin(), fields.end(), field) != fields.end()) {
      throw MethodError(fmt::format("O campo '{}' aparece mais de uma vez no delta.", def.name));
    }
    const bool deltaIsText = def.type == packet::FieldType::Text;
    if (deltaIsText != isTextField(*field)) {
      throw MethodError(fmt::format("O campo '{}' de {} é {}, não {}.", field->name, spec.name(),
                                    kindName(*field), deltaIsText ? "texto" : "numérico"));
    }
    fields.push_back(field);
  }
  for (const auto& f : spec.fields()) {
    if (f.role == FieldRole::Key && std::find(fields.begin(), fields.end(), &f) == fields.end()) {
      throw MethodError(
          fmt::format("O delta de {} não traz o campo-chave '{}'.", spec.name(), f.name));
    }
  }

  std::vector<RowChange> changes;
  changes.reserve(delta.changes.size());
  int number = 0;
  for (const auto& c : delta.changes) {
    RowChange change;
    change.kind = c.kind;
    change.number = ++number;
    if (c.kind != packet::ChangeKind::Insert) {
      change.before = toRecord(c.oldValues, fields, false, number);
      requireKeys(change.before, spec, number);
    }
    if (c.kind != packet::ChangeKind::Delete) {
      change.after = toRecord(c.newValues, fields, true, number);
      requireKeys(change.after, spec, number);
    }
    if (c.kind == packet::ChangeKind::Modify)
      requireSameKeys(change, spec);
    changes.push_back(std::move(change));
  }
  return changes;
}

bool sameValue(const packet::Value& a, const packet::Value& b) {
  if (isBlank(a) || isBlank(b))
    return isBlank(a) && isBlank(b);
  if (packet::isText(a) || packet::isText(b)) {
    return packet::isText(a) && packet::isText(b) &&
           std::get<std::string>(a) == std::get<std::string>(b);
  }
  const double x = std::get<double>(a);
  const double y = std::get<double>(b);
  return std::fabs(x - y) <= 1e-9 * std::max({1.0, std::fabs(x), std::fabs(y)});
}

std::vector<std::string> alteredFields(const RowChange& change, const DataSetSpec& spec) {
  std::vector<std::string> altered;
  for (const auto& f : spec.fields()) {
    if (f.role != FieldRole::Stored || !change.after.has(f.name))
      continue;
    if (!sameValue(change.before.get(f.name), change.after.get(f.name))) {
      altered.push_back(f.name);
    }
  }
  return altered;
}

std::optional<std::string> modificationConflict(const RowChange& change, const Record& stored,
                                                const std::vector<std::string>& fields) {
  for (const auto& f : fields) {
    const auto& now = stored.get(f);
    if (!sameValue(now, change.before.get(f)) && !sameValue(now, change.after.get(f)))
      return f;
  }
  return std::nullopt;
}

std::optional<std::string> deletionConflict(const RowChange& change, const Record& stored,
                                            const DataSetSpec& spec) {
  for (const auto& f : spec.fields()) {
    const bool compared = f.role == FieldRole::Key || f.role == FieldRole::Stored;
    if (compared && change.before.has(f.name) &&
        !sameValue(stored.get(f.name), change.before.get(f.name))) {
      return f.name;
    }
  }
  return std::nullopt;
}

std::string describeValue(const packet::Value& value) {
  if (isBlank(value))
    return "vazio";
  if (const auto* text = std::get_if<std::string>(&value))
    return "'" + *text + "'";
  std::string number = fmt::format("{}", std::get<double>(value));
  std::replace(number.begin(), number.end(), '.', ',');
  return number;
}

size_t characterCount(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace server
