// Operators of the system (table OPERADOR): registering them, and signing them in.
//
// An operator code is kept in upper case, 1 to 12 characters without blanks inside or control
// characters; codes are compared after the same normalisation, so "jose" signs in as "JOSE".
// Signing in slows guessing down: after a few failures in a row, each further attempt must
// wait twice as long as the one before (up to a limit) and is refused unseen until then. The
// failures are counted in the database, so every server on it sees them.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "server/credentials.h"
#include "server/sessions.h"
#include "server/storage.h"

namespace server {

// A refused administration or sign-in step; the message goes to the operator as it is.
class OperatorError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct SignInPolicy {
  int freeFailures = 5;  // failures in a row before attempts must wait
  int longestWaitSeconds = 300;
  PasswordCost passwordCost = kOperatorPasswordCost;  // for passwords set from now on
};

// The code as stored; throws OperatorError for one that cannot be an operator code.
std::string normalizeOperatorCode(std::string_view code);

// Registers an operator, active, with a password. Refuses a code already registered.
void addOperator(Database& db, std::string_view code, std::string_view name,
                 std::string_view password, const SignInPolicy& policy);
// Sets a new password, forgets the failed attempts and ends the operator's sessions.
void resetPassword(Database& db, std::string_view code, std::string_view password,
                   const SignInPolicy& policy);
// Disabling ends the operator's sessions; an inactive operator cannot sign in.
void setOperatorActive(Database& db, std::string_view code, bool active);
// Registers, when missing, an operator that signs in only through its own process (no
// password): the desktop's embedded server and the script driver. Returns the stored code.
// Refuses a disabled operator.
std::string ensureLocalOperator(Database& db, std::string_view code);

// What signing in needs from the database before the password is checked.
struct SignInAttempt {
  std::string operatorCode;
  bool known = false;
  std::optional<std::string> passwordHash;  // none: unknown or without a password
  bool active = false;
  int failures = 0;     // in a row, before this attempt
  int waitSeconds = 0;  // > 0: too many failures; refuse without checking
};
SignInAttempt prepareSignIn(Database& db, std::string_view code, const SignInPolicy& policy);

// Records the outcome of the password check (failures counted, or forgotten on success).
// Writes only when something changes: a failure, or the first success after failures.
void recordSignIn(Database& db, const SignInAttempt& attempt, bool passwordMatched);

// The messages of a refused sign-in. The same text serves an unknown operator and a wrong
// password, so that sign-in tells nobody which codes exist.
inline constexpr const char* kWrongCredentials = "Operador ou senha inválidos.";
std::string tooManyFailuresMessage(const std::string& operatorCode, int waitSeconds);

}  // namespace server
