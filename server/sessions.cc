#include "server/sessions.h"

#include "server/credentials.h"
#include "server/day_count.h"

namespace server {

namespace {

constexpr double kMinuteInDays = 1.0 / (24 * 60);

}  // namespace

OpenedSession openSession(Database& db, const std::string& operatorCode,
                          const SessionPolicy& policy) {
  OpenedSession session;
  session.token = newSessionToken();
  session.operatorCode = operatorCode;
  const double now = nowAsDayCount();
  session.expires = now + policy.lifetimeHours / 24.0;
  auto insert = db.prepare(
      "INSERT INTO SESSAO (DSCHAVE, CDOPERADOR, DTINICIO, DTULTUSO, DTEXPIRA) "
      "VALUES (?, ?, ?, ?, ?)");
  insert.bind(1, sessionKey(session.token)).bind(2, operatorCode).bind(3, now).bind(4, now);
  insert.bind(5, session.expires).run();
  // Sessions that ended a day ago are of no more use to anyone.
  auto ended = db.prepare("DELETE FROM SESSAO WHERE DTEXPIRA < ?");
  ended.bind(1, now - 1).run();
  return session;
}

SessionCheck checkSession(Database& db, const std::string& token, const SessionPolicy& policy) {
  if (token.empty())
    return {std::nullopt, "Nenhuma sessão foi informada: entre com operador e senha."};
  const std::string key = sessionKey(token);
  auto statement = db.prepare(
      "SELECT S.CDOPERADOR, S.DTULTUSO, S.DTEXPIRA, S.DTREVOGACAO, O.IDATIVO "
      "FROM SESSAO S JOIN OPERADOR O ON O.CDOPERADOR = S.CDOPERADOR WHERE S.DSCHAVE = ?");
  if (!statement.bind(1, key).step())
    return {std::nullopt, "A sessão não é reconhecida por este servidor: entre novamente."};
  const std::string operatorCode = statement.text(0);
  const double lastUse = statement.number(1);
  const double expires = statement.number(2);
  const bool revoked = !statement.isNull(3);
  const bool active = statement.text(4) == "S";
  const double now = nowAsDayCount();
  if (revoked)
    return {std::nullopt, "A sessão foi encerrada: entre novamente."};
  if (!active)
    return {std::nullopt, "O operador " + operatorCode + " está desativado."};
  if (now >= expires || now >= lastUse + policy.idleMinutes * kMinuteInDays)
    return {std::nullopt, "A sessão expirou: entre novamente."};
  return {operatorCode, {}, now >= lastUse + kMinuteInDays};
}

void touchSession(Database& db, const std::string& token) {
  auto touch = db.prepare("UPDATE SESSAO SET DTULTUSO = ? WHERE DSCHAVE = ?");
  touch.bind(1, nowAsDayCount()).bind(2, sessionKey(token)).run();
}

void revokeSession(Database& db, const std::string& token) {
  auto statement =
      db.prepare("UPDATE SESSAO SET DTREVOGACAO = ? WHERE DSCHAVE = ? AND DTREVOGACAO IS NULL");
  statement.bind(1, nowAsDayCount()).bind(2, sessionKey(token)).run();
}

void revokeOperatorSessions(Database& db, const std::string& operatorCode) {
  auto statement =
      db.prepare("UPDATE SESSAO SET DTREVOGACAO = ? WHERE CDOPERADOR = ? AND DTREVOGACAO IS NULL");
  statement.bind(1, nowAsDayCount()).bind(2, operatorCode).run();
}

}  // namespace server
