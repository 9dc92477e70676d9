// The application server's remote methods, callable in process.
//
// A `Service` opens one database file and answers calls by module ("rdmClientesServico",
// "rdmCustProd"), method name, positional arguments and operator. Every answer is a
// CallResult: a refusal, a wrong argument or a database failure becomes a failed status with
// a Portuguese message, never an exception, and a failed call has written nothing. Calls are
// serialised on the one connection, so the HTTP endpoint, tests and benchmarks may call from
// any thread.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "packet/remote_call.h"
#include "server/remote_method.h"
#include "server/sqlite_db.h"

namespace server {

class Service {
 public:
  // Opens an existing database created by createDatabase; throws SetupError or DbError.
  explicit Service(const std::string& databasePath);

  packet::CallResult call(std::string_view module, std::string_view method,
                          const std::vector<packet::Arg>& args, const std::string& operatorCode);

  // Every method, for the HTTP endpoint's routes.
  const std::vector<MethodDef>& methods() const { return methods_.all(); }

 private:
  std::mutex mutex_;
  Database db_;
  MethodTable methods_;
};

}  // namespace server
