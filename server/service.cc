#include "server/service.h"

#include <fmt/format.h>

#include <chrono>
#include <random>
#include <thread>

#include "server/method_error.h"
#include "server/method_groups.h"

namespace server {

namespace {

packet::CallResult failure(std::string message) {
  return {false, std::move(message), {}};
}

// A password hash that matches nothing: checking it costs as much as checking a real one, so
// an unknown operator takes as long to refuse as a wrong password.
const std::string& decoyHash(const SignInPolicy& policy) {
  static const std::string hash =
      hashPassword("senha-que-nenhum-operador-tem", policy.passwordCost);
  return hash;
}

packet::Packet sessionPacket(const OpenedSession& session) {
  packet::Packet packet;
  packet.fields = {{"CDOPERADOR", packet::FieldType::Text, static_cast<int>(kOperadorSize)},
                   {"TOKEN", packet::FieldType::Text, 64},
                   {"DTEXPIRA", packet::FieldType::DateTime, 0}};
  packet.rows.push_back({session.operatorCode, session.token, session.expires});
  return packet;
}

}  // namespace

Service::Service(const std::string& databaseName, ServiceOptions options)
    : options_(options),
      connections_(databaseName, options.readerConnections, options.writerConnections) {
  addServClieMethods(methods_);
  addValueHistoryMethods(methods_);
  addShiftMethods(methods_);
  addCorrectionMethods(methods_);
  addLookupMethods(methods_);
  addTrailMethods(methods_);
}

void Service::checkOperatorArguments(const MethodDef& def, const MethodArgs& args,
                                     const std::string& operatorCode) const {
  for (size_t i = 0; i < def.args.size(); ++i) {
    if (def.args[i].kind != ArgKind::Operator || args.text(i).empty())
      continue;
    std::string named;
    try {
      named = normalizeOperatorCode(args.text(i));
    } catch (const OperatorError&) {
      named = args.text(i);
    }
    if (named != operatorCode) {
      throw MethodError(fmt::format(
          "{}: o operador informado ({}) não é o operador da sessão ({}); nada foi alterado.",
          def.name, args.text(i), operatorCode));
    }
  }
}

Deadline Service::deadline(std::size_t deltaRows) const {
  return std::chrono::steady_clock::now() +
         packet::timeForDeltaRows(options_.callBudget, deltaRows);
}

template <typename Body>
auto Service::withRetries(Deadline until, Body body) -> decltype(body()) {
  thread_local std::minstd_rand random(std::random_device{}());
  for (int attempt = 1;; ++attempt) {
    try {
      return body();
    } catch (const DbError& e) {
      if (!e.retryable() || attempt >= options_.transactionAttempts)
        throw;
      // The other transaction is finishing: wait a little, longer each time and unevenly, so
      // that two servers retrying the same rows do not meet again.
      const auto pause = std::chrono::milliseconds(
          std::uniform_int_distribution<int>(1, 10 * attempt * attempt)(random));
      if (std::chrono::steady_clock::now() + pause >= until)
        throw;
      std::this_thread::sleep_for(pause);
    }
  }
}

packet::CallResult Service::call(std::string_view module, std::string_view method,
                                 const std::vector<packet::Arg>& args,
                                 const std::string& operatorCode, bool* busy,
                                 const packet::CallOptions& options) {
  if (busy != nullptr)
    *busy = false;
  const MethodDef* def = methods_.find(module, method);
  if (def == nullptr) {
    return failure(fmt::format("Método remoto desconhecido: {}.{}.", module, method));
  }
  if (operatorCode.empty())
    return failure(fmt::format("{}: a chamada não identifica o operador.", method));
  try {
    const MethodArgs checked(checkArguments(*def, args));
    checkOperatorArguments(*def, checked, operatorCode);
    const Deadline until = deadline(def->writes ? packet::deltaRows(args) : 0);
    auto lease = def->writes ? connections_.writer(until) : connections_.reader(until);
    if (!lease) {
      if (busy != nullptr)
        *busy = true;
      return failure(kBusyMessage);
    }
    return withRetries(until, [&] {
      AuditTrail trail(lease->db(), operatorCode, def->name);
      CallContext context{lease->db(), operatorCode, trail, options.knownVersion,
                          options.packedRows ? packet::RowForm::Packed : packet::RowForm::Values};
      return def->handler(context, checked);
    });
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

SessionCheck Service::authenticate(const std::string& token) {
  try {
    SessionCheck check;
    {
      auto reader = connections_.reader(deadline());
      if (!reader)
        return {std::nullopt, kBusyMessage};
      check = checkSession(reader->db(), token, options_.sessions);
    }
    // Recording the use is bookkeeping: it waits for no write under way.
    if (check.useToRecord) {
      const Deadline until = deadline();
      if (auto writer = connections_.writerIfFree(until))
        withRetries(until, [&] { touchSession(writer->db(), token); });
    }
    return check;
  } catch (const DbError& e) {
    return {std::nullopt, e.what()};
  }
}

packet::CallResult Service::signIn(const std::string& operatorCode, const std::string& password) {
  try {
    SignInAttempt attempt;
    {
      auto reader = connections_.reader(deadline());
      if (!reader)
        return failure(kBusyMessage);
      attempt = prepareSignIn(reader->db(), operatorCode, options_.signIn);
    }
    if (attempt.waitSeconds > 0)
      return failure(tooManyFailuresMessage(attempt.operatorCode, attempt.waitSeconds));
    if (!hashing_.try_acquire_for(std::chrono::seconds(5)))
      return failure(kBusyMessage);
    bool matched = false;
    try {
      if (attempt.passwordHash)
        matched = verifyPassword(*attempt.passwordHash, password);
      else
        verifyPassword(decoyHash(options_.signIn), password);
    } catch (...) {
      hashing_.release();
      throw;
    }
    hashing_.release();

    const Deadline until = deadline();
    auto writer = connections_.writer(until);
    if (!writer)
      return failure(kBusyMessage);
    Database& db = writer->db();
    return withRetries(until, [&]() -> packet::CallResult {
      Transaction transaction(db);
      if (attempt.known)
        recordSignIn(db, attempt, matched);
      if (!matched) {
        transaction.commit();
        return failure(kWrongCredentials);
      }
      if (!attempt.active) {
        transaction.commit();
        return failure(fmt::format("O operador {} está desativado.", attempt.operatorCode));
      }
      const OpenedSession session = openSession(db, attempt.operatorCode, options_.sessions);
      transaction.commit();
      return {true, {}, sessionPacket(session)};
    });
  } catch (const OperatorError&) {
    return failure(kWrongCredentials);
  } catch (const std::exception& e) {
    return failure(fmt::format("Não foi possível entrar: {}", e.what()));
  }
}

std::optional<std::string> Service::checkHealth() {
  try {
    auto reader = connections_.reader(std::chrono::steady_clock::now() + std::chrono::seconds(3));
    if (!reader)
      return std::string(kBusyMessage);
    reader->db().prepare("SELECT 1").step();
    return std::nullopt;
  } catch (const DbError& e) {
    return std::string(e.what());
  }
}

void Service::signOut(const std::string& token) {
  const Deadline until = deadline();
  auto writer = connections_.writer(until);
  if (!writer)
    throw DbError(kBusyMessage);
  withRetries(until, [&] { revokeSession(writer->db(), token); });
}

OpenedSession Service::openLocalSession(const std::string& operatorCode) {
  const Deadline until = deadline();
  auto writer = connections_.writer(until);
  if (!writer)
    throw DbError(kBusyMessage);
  Database& db = writer->db();
  return withRetries(until, [&] {
    Transaction transaction(db);
    const std::string code = ensureLocalOperator(db, operatorCode);
    OpenedSession session = openSession(db, code, options_.sessions);
    transaction.commit();
    return session;
  });
}

}  // namespace server
