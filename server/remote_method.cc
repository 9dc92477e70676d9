#include "server/remote_method.h"

#include <fmt/format.h>

#include <cmath>

#include "server/day_count.h"
#include "server/delta_rows.h"
#include "server/method_error.h"

namespace server {

namespace {

const char* expected(ArgKind kind) {
  switch (kind) {
    case ArgKind::Code:
    case ArgKind::Text:
    case ArgKind::Operator:
      return "um texto";
    case ArgKind::Number:
      return "um número";
    case ArgKind::Date:
      return "uma data";
    case ArgKind::Delta:
      return "um delta";
    case ArgKind::DeltaOrNull:
      return "um delta ou nulo";
  }
  return "um valor";
}

bool fits(ArgKind kind, const packet::Arg& arg) {
  switch (kind) {
    case ArgKind::Code:
    case ArgKind::Text:
    case ArgKind::Operator:
      return std::holds_alternative<std::string>(arg);
    case ArgKind::Number:
      return std::holds_alternative<double>(arg);
    case ArgKind::Date:
      return std::holds_alternative<packet::DateArg>(arg);
    case ArgKind::Delta:
      return std::holds_alternative<packet::Delta>(arg);
    case ArgKind::DeltaOrNull:
      return std::holds_alternative<packet::Delta>(arg) ||
             std::holds_alternative<std::monostate>(arg);
  }
  return false;
}

}  // namespace

const MethodDef* MethodTable::find(std::string_view module, std::string_view name) const {
  for (const auto& m : methods_) {
    if (m.module == module && m.name == name)
      return &m;
  }
  return nullptr;
}

std::vector<packet::Arg> checkArguments(const MethodDef& method,
                                        const std::vector<packet::Arg>& args) {
  if (args.size() != method.args.size()) {
    throw MethodError(fmt::format("{} espera {} argumento(s) e recebeu {}.", method.name,
                                  method.args.size(), args.size()));
  }
  std::vector<packet::Arg> checked = args;
  for (size_t i = 0; i < args.size(); ++i) {
    const ArgSpec& spec = method.args[i];
    if (!fits(spec.kind, args[i])) {
      throw MethodError(fmt::format("{}: o argumento {} ({}) deve ser {}.", method.name, i + 1,
                                    spec.name, expected(spec.kind)));
    }
    if (spec.kind == ArgKind::Code) {
      auto& code = std::get<std::string>(checked[i]);
      code.erase(code.find_last_not_of(' ') + 1);
    }
    if (const auto* text = std::get_if<std::string>(&checked[i]);
        text != nullptr && spec.maxSize > 0 && characterCount(*text) > spec.maxSize) {
      throw MethodError(fmt::format("{}: o argumento {} ({}) aceita no máximo {} caracteres.",
                                    method.name, i + 1, spec.name, spec.maxSize));
    }
    if (const auto* number = std::get_if<double>(&checked[i]);
        number != nullptr && !std::isfinite(*number)) {
      throw MethodError(fmt::format("{}: o argumento {} ({}) não é um número válido.", method.name,
                                    i + 1, spec.name));
    }
    if (const auto* date = std::get_if<packet::DateArg>(&checked[i]);
        date != nullptr && !isAcceptedDate(date->days)) {
      throw MethodError(
          fmt::format("{}: o argumento {} ({}) deve ser uma data de 01/01/1900 a 31/12/9999.",
                      method.name, i + 1, spec.name));
    }
  }
  return checked;
}

}  // namespace server
