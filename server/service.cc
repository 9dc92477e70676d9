#include "server/service.h"

#include <fmt/format.h>

#include "server/database_setup.h"
#include "server/method_error.h"
#include "server/method_groups.h"

namespace server {

namespace {

packet::CallResult failure(std::string message) {
  return {false, std::move(message), {}};
}

}  // namespace

Service::Service(const std::string& databasePath) : db_(databasePath, false) {
  prepareForServing(db_);
  addServClieMethods(methods_);
  addValueHistoryMethods(methods_);
  addShiftMethods(methods_);
  addCorrectionMethods(methods_);
  addLookupMethods(methods_);
}

packet::CallResult Service::call(std::string_view module, std::string_view method,
                                 const std::vector<packet::Arg>& args,
                                 const std::string& operatorCode) {
  const MethodDef* def = methods_.find(module, method);
  if (def == nullptr) {
    return failure(fmt::format("Método remoto desconhecido: {}.{}.", module, method));
  }
  std::lock_guard lock(mutex_);
  try {
    const MethodArgs checked(checkArguments(*def, args));
    CallContext context{db_, operatorCode};
    return def->handler(context, checked);
  } catch (const MethodError& e) {
    return failure(e.what());
  } catch (const DbError& e) {
    return failure(e.what());
  } catch (const packet::PacketError& e) {
    return failure(e.what());
  } catch (const std::exception& e) {
    return failure(
        fmt::format("Erro interno do servidor de aplicação em {}: {}", method, e.what()));
  }
}

}  // namespace server
