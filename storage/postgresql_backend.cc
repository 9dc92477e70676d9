// The PostgreSQL engine: one libpq connection.
//
// Statements are prepared on the server once per SQL text and connection (the "?" and "?N"
// parameters become "$N"), their parameters sent as text and typed by the server from where
// they stand, their rows read whole. A write transaction is SERIALIZABLE: a transaction the
// server aborts to keep concurrent ones serializable, or to break a deadlock, is reported as a
// retryable DbError. The deadline is the session's statement_timeout, set only when it would
// end later than the deadline by more than a second, so most statements cost no extra round
// trip. A connection found broken is opened again before the next statement, which runs once
// more when it was not inside a transaction.
//
// This engine is built as a library of its own, loaded on demand (postgresql_engine.cc).
#include <fmt/format.h>
#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <unordered_map>
#include <vector>

#include "packet/name_order.h"
#include "storage/backend.h"
#include "storage/postgresql_entry.h"

namespace storage {

namespace {

using Clock = std::chrono::steady_clock;

struct ResultDeleter {
  void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

std::string trimmed(std::string text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.pop_back();
  return text;
}

// SQLSTATE classes and codes as the server reports them.
DbError errorOf(PGconn* conn, const PGresult* result) {
  const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const std::string code = state != nullptr ? state : "";
  const char* primary =
      result != nullptr ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  const std::string detail = trimmed(primary != nullptr ? primary : PQerrorMessage(conn));
  if (PQstatus(conn) == CONNECTION_BAD || code.starts_with("08") || code == "57P01" ||
      code == "57P02" || code == "57P03") {
    return DbError(fmt::format("A conexão com o banco de dados foi perdida ({}).", detail),
                   Failure::Unavailable);
  }
  if (code == "40001" || code == "40P01") {
    return DbError(
        "A gravação coincidiu com outra feita ao mesmo tempo e foi desfeita; tente novamente.",
        Failure::Conflict);
  }
  if (code == "57014")
    return DbError(kTimeoutMessage, Failure::Timeout);
  if (code == "55P03" || code.starts_with("53"))
    return DbError(kBusyMessage, Failure::Busy);
  // P0001: a rule of the schema raised its own message (the trail refuses changes).
  if (code == "P0001")
    return DbError(detail, Failure::Constraint);
  if (code.starts_with("23")) {
    return DbError(
        fmt::format("A gravação viola uma regra de integridade do banco de dados ({}).", detail),
        Failure::Constraint);
  }
  return DbError(fmt::format("Erro no banco de dados: {}.", detail));
}

bool succeeded(const PGresult* result) {
  const ExecStatusType status = PQresultStatus(result);
  return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

// "?" and "?N" parameters as "$N"; quoted texts, quoted names and comments are left alone. A
// bare "?" takes the number after the largest one so far, as in SQLite.
std::string dollarParameters(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 16);
  int largest = 0;
  size_t i = 0;
  const auto copyUntil = [&](std::string_view end) {
    const size_t at = sql.find(end, i);
    const size_t stop = at == std::string_view::npos ? sql.size() : at + end.size();
    out.append(sql.substr(i, stop - i));
    i = stop;
  };
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      out += c;
      ++i;
      copyUntil(std::string_view(&c, 1));
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      copyUntil("\n");
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      out += "/*";
      i += 2;
      copyUntil("*/");
    } else if (c == '?') {
      size_t end = i + 1;
      while (end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end])))
        ++end;
      int number = largest + 1;
      if (end > i + 1)
        std::from_chars(sql.data() + i + 1, sql.data() + end, number);
      largest = std::max(largest, number);
      out += fmt::format("${}", number);
      i = end;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

// translate() arguments that fold a text as the client tier folds names for ordering: the
// letters A-Z and the accented Latin letters of U+00C0..U+00FF to their plain lower case.
const std::pair<std::string, std::string>& foldingTranslation() {
  static const auto translation = [] {
    std::pair<std::string, std::string> fromTo;
    for (char c = 'A'; c <= 'Z'; ++c) {
      fromTo.first += c;
      fromTo.second += static_cast<char>(c - 'A' + 'a');
    }
    for (unsigned point = 0xC0; point <= 0xFF; ++point) {
      const std::string letter{static_cast<char>(0xC3), static_cast<char>(0x80 + point - 0xC0)};
      const std::string folded = packet::foldForSorting(letter);
      if (folded != letter) {
        fromTo.first += letter;
        fromTo.second += folded;
      }
    }
    return fromTo;
  }();
  return translation;
}

std::string typeName(Oid type) {
  switch (type) {
    case 16:
      return "bool";
    case 20:
      return "int8";
    case 21:
      return "int2";
    case 23:
      return "int4";
    case 25:
      return "text";
    case 700:
      return "float4";
    case 701:
      return "float8";
    case 1042:
      return "bpchar";
    case 1043:
      return "varchar";
    case 1082:
      return "date";
    case 1083:
      return "time";
    case 1114:
      return "timestamp";
    case 1184:
      return "timestamptz";
    case 1700:
      return "numeric";
    default:
      return "";
  }
}

bool isNumericType(Oid type) {
  return type == 20 || type == 21 || type == 23 || type == 26 || type == 700 || type == 701 ||
         type == 1700;
}

// A statement prepared on the server, with its parameters and columns as the server described
// them; shared by the handles of its text.
struct Prepared {
  std::string name;
  Result description;
};

class PostgresqlDatabase;

class PostgresqlStatement : public StatementBackend {
 public:
  PostgresqlStatement(PostgresqlDatabase& owner, std::shared_ptr<Prepared> prepared,
                      std::string sql)
      : owner_(owner), prepared_(std::move(prepared)), sql_(std::move(sql)) {
    values_.resize(static_cast<size_t>(PQnparams(prepared_->description.get())));
  }

  void bindText(int index, std::string_view text) override { slot(index) = std::string(text); }
  void bindNumber(int index, double number) override { slot(index) = fmt::format("{}", number); }
  void bindNull(int index) override { slot(index).reset(); }

  bool step() override;
  void reset() override {
    result_.reset();
    row_ = -1;
    for (auto& value : values_)
      value.reset();
  }

  // Before the statement runs, its columns are those the server described.
  int columnCount() const override { return PQnfields(columns()); }
  std::string columnName(int column) const override {
    const char* field = PQfname(columns(), column);
    std::string name = field != nullptr ? field : "";
    for (char& c : name)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
  }
  std::string declaredType(int column) const override {
    return typeName(PQftype(columns(), column));
  }
  bool isNull(int column) const override {
    return !onRow() || PQgetisnull(result_.get(), row_, column) != 0;
  }
  bool isNumber(int column) const override { return isNumericType(PQftype(columns(), column)); }
  std::string_view text(int column) const override {
    if (isNull(column))
      return {};
    return std::string_view(PQgetvalue(result_.get(), row_, column),
                            static_cast<size_t>(PQgetlength(result_.get(), row_, column)));
  }
  double number(int column) const override {
    if (isNull(column))
      return 0;
    const char* value = PQgetvalue(result_.get(), row_, column);
    const char* end = value + PQgetlength(result_.get(), row_, column);
    double number = 0;
    std::from_chars(value, end, number);
    return number;
  }

 private:
  std::optional<std::string>& slot(int index) {
    if (index < 1 || index > static_cast<int>(values_.size()))
      throw DbError(fmt::format("Erro no banco de dados: parâmetro {} inexistente.", index));
    return values_[static_cast<size_t>(index - 1)];
  }
  bool onRow() const { return result_ && row_ >= 0 && row_ < PQntuples(result_.get()); }
  const PGresult* columns() const { return result_ ? result_.get() : prepared_->description.get(); }

  PostgresqlDatabase& owner_;
  std::shared_ptr<Prepared> prepared_;
  std::string sql_;
  std::vector<std::optional<std::string>> values_;
  Result result_;
  int row_ = -1;
};

class PostgresqlDatabase : public DatabaseBackend {
 public:
  PostgresqlDatabase(const std::string& name, const OpenOptions& options)
      : readOnly_(options.readOnly), busyTimeoutMs_(std::max(options.busyTimeoutMs, 1)) {
    const char* keywords[] = {"connect_timeout", "dbname", "client_encoding",
                              "fallback_application_name", nullptr};
    const char* values[] = {"10", name.c_str(), "UTF8", "clientes-servico", nullptr};
    conn_ = PQconnectdbParams(keywords, values, 1);
    if (conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK) {
      const std::string reason = trimmed(conn_ != nullptr ? PQerrorMessage(conn_) : "sem memória");
      PQfinish(conn_);
      conn_ = nullptr;
      throw DbError(fmt::format("Não foi possível conectar ao banco de dados '{}' ({}).",
                                displayName(name), reason),
                    Failure::Unavailable);
    }
    const char* encoding = PQparameterStatus(conn_, "server_encoding");
    if (encoding == nullptr || std::string_view(encoding) != "UTF8") {
      const std::string found = encoding != nullptr ? encoding : "?";
      PQfinish(conn_);
      conn_ = nullptr;
      throw DbError(fmt::format("O banco de dados '{}' usa a codificação {}; é preciso UTF8.",
                                displayName(name), found),
                    Failure::Unavailable);
    }
    try {
      configureSession();
    } catch (const DbError&) {
      PQfinish(conn_);
      conn_ = nullptr;
      throw;
    }
  }

  ~PostgresqlDatabase() override { PQfinish(conn_); }

  Engine engine() const override { return Engine::Postgresql; }

  void exec(const std::string& sql) override {
    reconnectIfBroken();
    applyDeadline();
    Result result(PQexec(conn_, sql.c_str()));
    if (!succeeded(result.get()))
      throw errorOf(conn_, result.get());
  }

  std::unique_ptr<StatementBackend> prepare(std::string_view sql) override {
    reconnectIfBroken();
    std::string text(sql);
    return std::make_unique<PostgresqlStatement>(*this, preparedFor(text), std::move(text));
  }

  int changes() const override { return changes_; }

  void setDeadline(std::optional<Clock::time_point> deadline) override { deadline_ = deadline; }

  std::string nameOrder(std::string_view expression) const override {
    const auto& [from, to] = foldingTranslation();
    return fmt::format("translate({0}, '{1}', '{2}') COLLATE \"C\", {0} COLLATE \"C\"", expression,
                       from, to);
  }

  void begin() override {
    exec("BEGIN ISOLATION LEVEL SERIALIZABLE");
    inTransaction_ = true;
  }

  void commit() override {
    inTransaction_ = false;
    reconnectIfBroken();
    Result result(PQexec(conn_, "COMMIT"));
    if (!succeeded(result.get()))
      throw errorOf(conn_, result.get());
    // COMMIT of a transaction that had already failed answers ROLLBACK.
    if (std::string_view(PQcmdStatus(result.get())) == "ROLLBACK") {
      timeoutMs_ = -1;
      throw DbError("Erro no banco de dados: a transação foi desfeita.");
    }
  }

  void rollback() override {
    inTransaction_ = false;
    // A setting changed inside the transaction is undone with it.
    timeoutMs_ = -1;
    if (PQstatus(conn_) != CONNECTION_OK)
      return;
    Result result(PQexec(conn_, "ROLLBACK"));
    if (!succeeded(result.get()))
      throw errorOf(conn_, result.get());
  }

  // Runs a prepared statement with text parameters; once more on a connection opened again
  // when the first run found it broken outside a transaction. A statement prepared on a
  // connection since lost is prepared again.
  Result execute(std::shared_ptr<Prepared>& prepared,
                 const std::vector<std::optional<std::string>>& values, const std::string& sql) {
    std::vector<const char*> pointers;
    pointers.reserve(values.size());
    for (const auto& value : values)
      pointers.push_back(value ? value->c_str() : nullptr);
    for (int attempt = 0;; ++attempt) {
      reconnectIfBroken();
      if (const auto found = prepared_.find(sql);
          found == prepared_.end() || found->second != prepared)
        prepared = preparedFor(sql);
      applyDeadline();
      Result result(PQexecPrepared(conn_, prepared->name.c_str(), static_cast<int>(pointers.size()),
                                   pointers.data(), nullptr, nullptr, 0));
      if (succeeded(result.get())) {
        const char* tuples = PQcmdTuples(result.get());
        changes_ = tuples != nullptr && *tuples != '\0' ? std::atoi(tuples) : 0;
        return result;
      }
      const bool retry = attempt == 0 && !inTransaction_ && PQstatus(conn_) == CONNECTION_BAD;
      if (!retry)
        throw errorOf(conn_, result.get());
    }
  }

 private:
  // The statement of an SQL text on this connection, prepared on the server when new.
  std::shared_ptr<Prepared> preparedFor(const std::string& sql) {
    if (const auto found = prepared_.find(sql); found != prepared_.end())
      return found->second;
    forgetIdleStatements();
    auto made = std::make_shared<Prepared>();
    made->name = fmt::format("cps{}", ++statementsMade_);
    Result result(PQprepare(conn_, made->name.c_str(), dollarParameters(sql).c_str(), 0, nullptr));
    if (!succeeded(result.get()))
      throw errorOf(conn_, result.get());
    made->description.reset(PQdescribePrepared(conn_, made->name.c_str()));
    if (!succeeded(made->description.get()))
      throw errorOf(conn_, made->description.get());
    prepared_.emplace(sql, made);
    return made;
  }

  void configureSession() {
    std::string settings = "SET extra_float_digits = 1";
    if (readOnly_)
      settings += "; SET default_transaction_read_only = on";
    Result result(PQexec(conn_, settings.c_str()));
    if (!succeeded(result.get()))
      throw errorOf(conn_, result.get());
    timeoutMs_ = -1;
  }

  void reconnectIfBroken() {
    if (PQstatus(conn_) == CONNECTION_OK)
      return;
    PQreset(conn_);
    inTransaction_ = false;
    prepared_.clear();
    if (PQstatus(conn_) != CONNECTION_OK) {
      throw DbError(fmt::format("Não foi possível reconectar ao banco de dados ({}).",
                                trimmed(PQerrorMessage(conn_))),
                    Failure::Unavailable);
    }
    configureSession();
  }

  // Statements no handle uses are forgotten, on the server too, once there are many.
  void forgetIdleStatements() {
    if (prepared_.size() < kPreparedStatements)
      return;
    std::string deallocate;
    for (auto it = prepared_.begin(); it != prepared_.end();) {
      if (it->second.use_count() == 1) {
        deallocate += fmt::format("DEALLOCATE {};", it->second->name);
        it = prepared_.erase(it);
      } else {
        ++it;
      }
    }
    if (!deallocate.empty())
      Result(PQexec(conn_, deallocate.c_str()));
  }

  // Sets statement_timeout to what is left before the deadline (none without one), and
  // lock_timeout a little shorter, and never beyond the busy timeout: a wait for another
  // connection's lock ends as "busy", a statement that runs too long as "timeout".
  void applyDeadline() {
    int wanted = 0;
    if (deadline_) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - Clock::now()).count();
      if (left <= 0)
        throw DbError(kTimeoutMessage, Failure::Timeout);
      wanted = static_cast<int>(std::min<long long>(left, 1LL << 30));
      if (timeoutMs_ > 0 && timeoutMs_ <= wanted + 1000)
        return;
    } else if (timeoutMs_ == 0) {
      return;
    }
    const int lockWait = wanted > 0 ? std::clamp(wanted - 100, 1, busyTimeoutMs_) : busyTimeoutMs_;
    const std::string set =
        fmt::format("SET statement_timeout = {}; SET lock_timeout = {}", wanted, lockWait);
    Result result(PQexec(conn_, set.c_str()));
    if (!succeeded(result.get()))
      throw errorOf(conn_, result.get());
    timeoutMs_ = wanted;
  }

  friend class PostgresqlStatement;

  static constexpr size_t kPreparedStatements = 512;
  PGconn* conn_ = nullptr;
  bool readOnly_ = false;
  int busyTimeoutMs_;
  bool inTransaction_ = false;
  int changes_ = 0;
  long long statementsMade_ = 0;
  // statement_timeout as last set: -1 unknown, 0 none.
  int timeoutMs_ = -1;
  std::optional<Clock::time_point> deadline_;
  std::unordered_map<std::string, std::shared_ptr<Prepared>> prepared_;
};

bool PostgresqlStatement::step() {
  if (!result_) {
    result_ = owner_.execute(prepared_, values_, sql_);
    row_ = 0;
  } else {
    ++row_;
  }
  return onRow();
}

std::unique_ptr<DatabaseBackend> openDatabase(const std::string& name, const OpenOptions& options) {
  return std::make_unique<PostgresqlDatabase>(name, options);
}

}  // namespace

}  // namespace storage

// The engine's one entry, found by the storage library when it loads this one.
extern "C" __attribute__((visibility("default"))) storage::PostgresqlOpen
cpsStoragePostgresqlOpen() {
  return &storage::openDatabase;
}
