// The remote methods' common shape: a declared argument list, checked before the method runs,
// and a handler that reads its arguments already typed.
//
// Each group of methods registers itself into a `MethodTable` (see method_groups.h); the
// service looks methods up there by module and name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "packet/json_text.h"
#include "packet/remote_call.h"
#include "server/audit_trail.h"
#include "server/storage.h"

namespace server {

enum class ArgKind {
  Code,         // text; trailing blanks are dropped
  Text,         // text, kept as sent
  Number,       // a number
  Date,         // a date argument (day count)
  Delta,        // a delta; null is refused
  DeltaOrNull,  // a delta, or null for "nothing to apply"
  Operator,     // text: empty, or the session's own operator (anything else is refused)
};

struct ArgSpec {
  ArgKind kind;
  std::string name;  // for messages: "CDFILIAL", "operador"...
  // Most characters a Code or Text argument may carry (its column's size); 0: no limit.
  size_t maxSize = 0;
};

// Sizes of the arguments that are stored or compared with stored columns.
inline constexpr size_t kFilialSize = 4;
inline constexpr size_t kServicoSize = 5;
inline constexpr size_t kClienteSize = 21;
inline constexpr size_t kTurnoSize = 1;
inline constexpr size_t kOperadorSize = 12;

// Arguments of a call, checked against the method's ArgSpec list.
class MethodArgs {
 public:
  explicit MethodArgs(std::vector<packet::Arg> args) : args_(std::move(args)) {}

  const std::string& text(size_t index) const { return std::get<std::string>(args_.at(index)); }
  double number(size_t index) const { return std::get<double>(args_.at(index)); }
  double date(size_t index) const { return std::get<packet::DateArg>(args_.at(index)).days; }
  // Null for a DeltaOrNull argument that came as null.
  const packet::Delta* delta(size_t index) const {
    return std::get_if<packet::Delta>(&args_.at(index));
  }

 private:
  std::vector<packet::Arg> args_;
};

struct CallContext {
  Database& db;
  // The operator of the caller's session: the one every change records. An operator argument
  // the client sends has already been checked against it.
  std::string operatorCode;
  // Every write of the call goes through it.
  AuditTrail& trail;
  // The version of the rows the caller holds, for a read that can answer what changed since.
  std::int64_t knownVersion = 0;
  // How a large read keeps its answer's rows: packed when the answer only goes out as text.
  packet::RowForm rows = packet::RowForm::Values;
};

using MethodHandler = packet::CallResult (*)(CallContext& context, const MethodArgs& args);

struct MethodDef {
  std::string module;
  std::string name;
  std::vector<ArgSpec> args;
  MethodHandler handler = nullptr;
  // Writes run one at a time on the server's writing connection; reads run on a pool of
  // reading connections and never wait behind a write.
  bool writes = false;
};

class MethodTable {
 public:
  void add(MethodDef method) { methods_.push_back(std::move(method)); }
  // The method, or null when the module has no method of that name.
  const MethodDef* find(std::string_view module, std::string_view name) const;
  const std::vector<MethodDef>& all() const { return methods_; }

 private:
  std::vector<MethodDef> methods_;
};

// Checks count, kind and size of every argument; returns them with codes trimmed. Numbers must
// be finite and dates fall from 01/01/1900 to 31/12/9999. Throws MethodError with a message
// naming the method and the argument.
std::vector<packet::Arg> checkArguments(const MethodDef& method,
                                        const std::vector<packet::Arg>& args);

inline constexpr std::string_view kModuleClientesServico = "rdmClientesServico";
inline constexpr std::string_view kModuleCustProd = "rdmCustProd";
inline constexpr std::string_view kModuleTrilha = "rdmTrilha";

inline packet::CallResult okResult() {
  return {true, {}, std::nullopt};
}
inline packet::CallResult okResult(packet::Packet packet) {
  return {true, {}, std::move(packet)};
}

}  // namespace server
