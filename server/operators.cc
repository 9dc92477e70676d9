#include "server/operators.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "server/day_count.h"
#include "server/delta_rows.h"
#include "server/remote_method.h"

namespace server {

namespace {

constexpr double kSecondInDays = 1.0 / 86'400;

// The stored row, or nothing.
struct OperatorRow {
  std::optional<std::string> passwordHash;
  bool active = false;
  int failures = 0;
  double lastFailure = 0;
};

std::optional<OperatorRow> loadOperator(Database& db, const std::string& code) {
  auto statement = db.prepare(
      "SELECT DSSENHA, IDATIVO, QTFALHAS, DTULTFALHA FROM OPERADOR WHERE CDOPERADOR = ?");
  if (!statement.bind(1, code).step())
    return std::nullopt;
  OperatorRow row;
  if (!statement.isNull(0))
    row.passwordHash = statement.text(0);
  row.active = statement.text(1) == "S";
  row.failures = static_cast<int>(statement.number(2));
  row.lastFailure = statement.number(3);
  return row;
}

OperatorRow requireOperator(Database& db, const std::string& code) {
  auto row = loadOperator(db, code);
  if (!row)
    throw OperatorError(fmt::format("O operador {} não está cadastrado.", code));
  return *row;
}

std::string hashOrRefuse(std::string_view password, const SignInPolicy& policy) {
  try {
    return hashPassword(password, policy.passwordCost);
  } catch (const CredentialError& e) {
    throw OperatorError(e.what());
  }
}

}  // namespace

std::string normalizeOperatorCode(std::string_view code) {
  std::string normalized(code);
  normalized.erase(0, normalized.find_first_not_of(' '));
  normalized.erase(normalized.find_last_not_of(' ') + 1);
  for (char& c : normalized)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const bool printable = std::none_of(normalized.begin(), normalized.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == ' ';
  });
  if (normalized.empty() || !printable || characterCount(normalized) > kOperadorSize) {
    throw OperatorError(fmt::format(
        "O código de operador deve ter de 1 a {} caracteres, sem espaços.", kOperadorSize));
  }
  return normalized;
}

void addOperator(Database& db, std::string_view code, std::string_view name,
                 std::string_view password, const SignInPolicy& policy) {
  const std::string stored = normalizeOperatorCode(code);
  if (characterCount(name) > 60)
    throw OperatorError("O nome do operador aceita no máximo 60 caracteres.");
  const std::string hash = hashOrRefuse(password, policy);
  Transaction transaction(db);
  if (loadOperator(db, stored))
    throw OperatorError(fmt::format("O operador {} já está cadastrado.", stored));
  auto insert = db.prepare(
      "INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, DSSENHA, IDATIVO, QTFALHAS, DTALTOPER) "
      "VALUES (?, ?, ?, 'S', 0, ?)");
  insert.bind(1, stored).bind(2, name).bind(3, hash).bind(4, nowAsDayCount()).run();
  transaction.commit();
}

void resetPassword(Database& db, std::string_view code, std::string_view password,
                   const SignInPolicy& policy) {
  const std::string stored = normalizeOperatorCode(code);
  const std::string hash = hashOrRefuse(password, policy);
  Transaction transaction(db);
  requireOperator(db, stored);
  auto update = db.prepare(
      "UPDATE OPERADOR SET DSSENHA = ?, QTFALHAS = 0, DTULTFALHA = NULL, DTALTOPER = ? "
      "WHERE CDOPERADOR = ?");
  update.bind(1, hash).bind(2, nowAsDayCount()).bind(3, stored).run();
  revokeOperatorSessions(db, stored);
  transaction.commit();
}

void setOperatorActive(Database& db, std::string_view code, bool active) {
  const std::string stored = normalizeOperatorCode(code);
  Transaction transaction(db);
  requireOperator(db, stored);
  auto update = db.prepare("UPDATE OPERADOR SET IDATIVO = ?, DTALTOPER = ? WHERE CDOPERADOR = ?");
  update.bind(1, active ? "S" : "N").bind(2, nowAsDayCount()).bind(3, stored).run();
  if (!active)
    revokeOperatorSessions(db, stored);
  transaction.commit();
}

std::string ensureLocalOperator(Database& db, std::string_view code) {
  const std::string stored = normalizeOperatorCode(code);
  if (const auto row = loadOperator(db, stored)) {
    if (!row->active)
      throw OperatorError(fmt::format("O operador {} está desativado.", stored));
    return stored;
  }
  auto insert = db.prepare(
      "INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, DSSENHA, IDATIVO, QTFALHAS, DTALTOPER) "
      "VALUES (?, NULL, NULL, 'S', 0, ?)");
  insert.bind(1, stored).bind(2, nowAsDayCount()).run();
  return stored;
}

SignInAttempt prepareSignIn(Database& db, std::string_view code, const SignInPolicy& policy) {
  SignInAttempt attempt;
  attempt.operatorCode = normalizeOperatorCode(code);
  const auto row = loadOperator(db, attempt.operatorCode);
  if (!row)
    return attempt;
  attempt.known = true;
  attempt.passwordHash = row->passwordHash;
  attempt.active = row->active;
  attempt.failures = row->failures;
  const int beyond = row->failures - policy.freeFailures;
  if (beyond >= 0) {
    const double wait =
        std::min(std::ldexp(1.0, std::min(beyond, 30)), double(policy.longestWaitSeconds));
    const double remaining = row->lastFailure + wait * kSecondInDays - nowAsDayCount();
    if (remaining > 0)
      attempt.waitSeconds = std::max(1, static_cast<int>(std::ceil(remaining / kSecondInDays)));
  }
  return attempt;
}

void recordSignIn(Database& db, const SignInAttempt& attempt, bool passwordMatched) {
  if (passwordMatched) {
    if (attempt.failures == 0)
      return;
    auto update =
        db.prepare("UPDATE OPERADOR SET QTFALHAS = 0, DTULTFALHA = NULL WHERE CDOPERADOR = ?");
    update.bind(1, attempt.operatorCode).run();
    return;
  }
  auto update = db.prepare(
      "UPDATE OPERADOR SET QTFALHAS = QTFALHAS + 1, DTULTFALHA = ? WHERE CDOPERADOR = ?");
  update.bind(1, nowAsDayCount()).bind(2, attempt.operatorCode).run();
}

std::string tooManyFailuresMessage(const std::string& operatorCode, int waitSeconds) {
  return fmt::format(
      "Muitas tentativas de acesso sem sucesso para o operador {}. Tente novamente em {} "
      "segundo(s).",
      operatorCode, waitSeconds);
}

}  // namespace server
