// The application server's remote methods, callable in process.
//
// A `Service` opens one database (an SQLite file or a PostgreSQL database) and answers calls by
// module ("rdmClientesServico", "rdmCustProd"), method name, positional arguments and the operator
// of the caller's session. Every answer is a CallResult: a refusal, a wrong argument or a database
// failure becomes a failed status with a Portuguese message, never an exception, and a failed call
// has written nothing. Writes run on the writing connections, reads on a pool of reading
// connections (connection_pool.h), so the HTTP endpoint, tests and benchmarks may call from any
// thread and reads never wait behind a write. A transaction the database aborts to keep concurrent
// ones serializable (another server wrote the same rows) runs again, a few times at most, before
// the call fails. Each call has a time budget (a write's grows with the
// rows of the deltas it carries, see packet::timeForDeltaRows): one that cannot get its
// connection within it is refused as busy ("servidor ocupado"), and one still running at its
// end stops and writes nothing.
//
// Operators sign in here: `signIn` checks a password and opens a session; `authenticate`
// turns a session token into its operator, which is what `call` takes. In-process callers
// are trusted with the operator they pass (they hold the database file anyway); the HTTP
// endpoint passes only the operator of a live session. `openLocalSession` signs in the
// operator of the process that embeds the server without a password.
#pragma once

#include <chrono>
#include <optional>
#include <semaphore>
#include <string>
#include <string_view>
#include <vector>

#include "packet/remote_call.h"
#include "server/connection_pool.h"
#include "server/operators.h"
#include "server/remote_method.h"
#include "server/sessions.h"
#include "server/storage.h"

namespace server {

struct ServiceOptions {
  SessionPolicy sessions;
  SignInPolicy signIn;
  int readerConnections = 4;
  // Writing connections on PostgreSQL (an SQLite file takes one).
  int writerConnections = 4;
  // Runs of a transaction the database aborted for a serialization failure or a deadlock.
  int transactionAttempts = 5;
  // A little under the client's 30 s wait, so the client hears why. A write carrying deltas
  // gets packet::kTimePerDeltaRow more per row, as does the client's wait.
  std::chrono::milliseconds callBudget{25'000};
};

inline constexpr const char* kBusyMessage =
    "O servidor de aplicação está ocupado; tente novamente em instantes.";

// The remote data module of signing in and out: Login(operator, password) answers a packet
// with CDOPERADOR, TOKEN and DTEXPIRA; Logout() ends the caller's session.
inline constexpr std::string_view kModuleSessao = "rdmSessao";

class Service {
 public:
  // Opens an existing database created by createDatabase (bringing an older schema up to
  // date); throws SetupError or DbError.
  explicit Service(const std::string& databaseName, ServiceOptions options = {});

  // Runs a method for a signed-in operator (never empty). `busy`, when given, tells whether a
  // failure was the server being busy; `options` say what the caller already holds.
  packet::CallResult call(std::string_view module, std::string_view method,
                          const std::vector<packet::Arg>& args, const std::string& operatorCode,
                          bool* busy = nullptr, const packet::CallOptions& options = {});
  // The operator of a live session, or why there is none.
  SessionCheck authenticate(const std::string& token);
  // Checks operator and password and opens a session (the answer's packet carries the token).
  // Failures in a row make later attempts wait; the password is checked outside the lock, so
  // other calls go on meanwhile.
  packet::CallResult signIn(const std::string& operatorCode, const std::string& password);
  void signOut(const std::string& token);

  // Nothing while a reading connection answers a trivial query within a few seconds, else the
  // reason in Portuguese.
  std::optional<std::string> checkHealth();
  // Opens a session for the embedding process's own operator, registering it (without a
  // password) when the database does not know it. Throws OperatorError for a disabled one.
  OpenedSession openLocalSession(const std::string& operatorCode);

  // Every method, for the HTTP endpoint's routes.
  const std::vector<MethodDef>& methods() const { return methods_.all(); }

 private:
  // Refuses an operator argument that names someone else than the session's operator.
  void checkOperatorArguments(const MethodDef& def, const MethodArgs& args,
                              const std::string& operatorCode) const;

  // Now plus the call budget, grown by `deltaRows` rows of a write.
  Deadline deadline(std::size_t deltaRows = 0) const;
  // Runs `body` again while it fails with a retryable DbError, within the attempts and the
  // deadline.
  template <typename Body>
  auto withRetries(Deadline until, Body body) -> decltype(body());

  ServiceOptions options_;
  ConnectionPool connections_;
  MethodTable methods_;
  // Hashing a password takes much memory: a few at a time.
  std::counting_semaphore<2> hashing_{2};
};

}  // namespace server
