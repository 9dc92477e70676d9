#include "server/app_server.h"

#include <arpa/inet.h>
#include <fmt/format.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "packet/json_text.h"
#include "server/credentials.h"

namespace server {

namespace {

constexpr const char* kJsonType = "application/json; charset=utf-8";

void answer(httplib::Response& response, int status, const packet::CallResult& result) {
  response.status = status;
  // Moved in rather than set: the text of a whole service is tens of megabytes.
  response.body = packet::callResultToJsonText(result);
  response.headers.erase("Content-Type");
  response.set_header("Content-Type", kJsonType);
}

void refuse(httplib::Response& response, int status, std::string message) {
  answer(response, status, {false, std::move(message), std::nullopt});
}

// Message for an answer httplib produced itself (no route, body too large, bad request).
std::string describeHttpFailure(const httplib::Request& request, int status,
                                size_t maxRequestBytes) {
  switch (status) {
    case 404:
      return fmt::format("Método remoto desconhecido: {} {}.", request.method, request.path);
    case 413:
      return fmt::format("A requisição excede o limite de {} bytes e não foi processada.",
                         maxRequestBytes);
    case 400:
      return "Requisição HTTP inválida.";
    case 503:
      return kBusyMessage;
    default:
      return fmt::format("O servidor de aplicação não atendeu a requisição (HTTP {}).", status);
  }
}

constexpr size_t kMaxArguments = 64;

// A refusal after which the connection closes: what the client sent after it (an unread body)
// is not taken for a request.
void refuseAndClose(httplib::Response& response, int status, std::string message) {
  refuse(response, status, std::move(message));
  response.set_header("Connection", "close");
}

// One of the places of large requests, held while the request is read and run.
class LargeRequestPlace {
 public:
  LargeRequestPlace(std::counting_semaphore<>& places, bool needed)
      : places_(places), needed_(needed) {}
  ~LargeRequestPlace() {
    if (taken_)
      places_.release();
  }
  LargeRequestPlace(const LargeRequestPlace&) = delete;
  LargeRequestPlace& operator=(const LargeRequestPlace&) = delete;
  bool needed() const { return needed_; }
  bool taken(std::chrono::milliseconds wait) {
    taken_ = needed_ && places_.try_acquire_for(wait);
    return taken_;
  }

 private:
  std::counting_semaphore<>& places_;
  bool needed_;
  bool taken_ = false;
};

// The token of "Authorization: Bearer <token>", or empty.
// What the request log says of one call, written when the call's handler ends, however it
// ends.
struct CallRecord {
  CallRecord(RequestLog* log, std::string_view method) : log(log), method(method) {}
  CallRecord(const CallRecord&) = delete;
  CallRecord& operator=(const CallRecord&) = delete;

  RequestLog* log;
  std::string_view method;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::string operatorCode;
  std::string outcome = "recusada";
  std::string message;

  void answered(const packet::CallResult& result, bool busy) {
    outcome = result.ok ? "ok" : (busy ? "ocupado" : "recusada");
    message = result.ok ? std::string() : result.message;
  }
  ~CallRecord() {
    if (log != nullptr) {
      log->record(operatorCode, method, std::chrono::steady_clock::now() - start, outcome, message);
    }
  }
};

std::string bearerToken(const httplib::Request& request) {
  const std::string header = request.get_header_value("Authorization");
  constexpr std::string_view kScheme = "Bearer ";
  if (header.size() <= kScheme.size() || header.compare(0, kScheme.size(), kScheme) != 0)
    return {};
  return header.substr(kScheme.size());
}

packet::CallResult signIn(Service& service, const std::vector<packet::Arg>& args) {
  const auto* operatorCode = args.size() == 2 ? std::get_if<std::string>(&args[0]) : nullptr;
  const auto* password = args.size() == 2 ? std::get_if<std::string>(&args[1]) : nullptr;
  if (operatorCode == nullptr || password == nullptr)
    return {false, "Login espera o operador e a senha, como textos.", std::nullopt};
  return service.signIn(*operatorCode, *password);
}

// The version of the rows the caller holds ("X-Versao"); a missing or malformed one is 0, and
// the read answers in full. The answer is only written out as text, so its rows are kept packed.
packet::CallOptions callOptions(const httplib::Request& request) {
  packet::CallOptions options;
  options.packedRows = true;
  const std::string version = request.get_header_value("X-Versao");
  std::int64_t number = 0;
  const auto [end, error] =
      std::from_chars(version.data(), version.data() + version.size(), number);
  if (error == std::errc() && end == version.data() + version.size() && number > 0)
    options.knownVersion = number;
  return options;
}

bool largeBody(const httplib::Request& request, const AppServerOptions& options) {
  const std::string declared = request.get_header_value("Content-Length");
  return declared.empty() ||
         std::strtoull(declared.c_str(), nullptr, 10) > options.largeRequestBytes;
}

bool parseCount(const std::string& text, size_t& count) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// Reads a request's body within the request limit, after taking one of the large requests'
// places when it needs one. False when it has answered a refusal instead.
bool readBody(const httplib::Request& request, const httplib::ContentReader& read,
              LargeRequestPlace& place, const AppServerOptions& options,
              httplib::Response& response, CallRecord& record, std::string& body) {
  if (place.needed() && !place.taken(options.largeRequestWait)) {
    record.outcome = "ocupado";
    refuseAndClose(response, 503, kBusyMessage);
    return false;
  }
  const bool complete = read([&](const char* data, size_t length) {
    if (body.size() + length > options.maxRequestBytes)
      return false;
    body.append(data, length);
    return true;
  });
  if (!complete) {
    record.message = describeHttpFailure(request, 413, options.maxRequestBytes);
    refuseAndClose(response, 413, record.message);
    return false;
  }
  return true;
}

}  // namespace

bool isLoopbackAddress(const std::string& host) {
  if (host == "localhost")
    return true;
  in_addr v4{};
  if (inet_pton(AF_INET, host.c_str(), &v4) == 1)
    return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6{};
  return inet_pton(AF_INET6, host.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

AppServer::AppServer(const std::string& databasePath, AppServerOptions options)
    : options_(options),
      service_(databasePath, options.service),
      staged_(options.stagedBodies),
      largeRequests_(
          static_cast<std::ptrdiff_t>(std::max<size_t>(options.largeRequestsAtOnce, 1))) {
  if (options_.certificateFile.empty()) {
    http_ = std::make_unique<httplib::Server>();
  } else {
    auto secure = std::make_unique<httplib::SSLServer>(options_.certificateFile.c_str(),
                                                       options_.privateKeyFile.c_str());
    if (!secure->is_valid()) {
      throw std::runtime_error(fmt::format(
          "Não foi possível usar o certificado '{}' com a chave '{}' (arquivos ausentes, "
          "ilegíveis ou que não formam um par).",
          options_.certificateFile, options_.privateKeyFile));
    }
    http_ = std::move(secure);
  }
  installRoutes();
}

AppServer::~AppServer() {
  stop();
}

void AppServer::installRoutes() {
  http_->set_tcp_nodelay(true);
  http_->set_payload_max_length(options_.maxRequestBytes);
  http_->set_read_timeout(options_.readTimeout);
  http_->set_write_timeout(options_.writeTimeout);
  http_->set_keep_alive_timeout(options_.keepAliveTimeout.count());
  const WorkerPoolSize workers = options_.workers;
  http_->new_task_queue = [workers] { return new WorkerPool(workers); };
  const int idleSeconds = static_cast<int>(options_.idleConnection.count());
  http_->set_socket_options([this, idleSeconds](int sock) {
    httplib::default_socket_options(sock);
    // A connection is handed over only once its first bytes arrive.
    setsockopt(sock, IPPROTO_TCP, TCP_DEFER_ACCEPT, &idleSeconds, sizeof(idleSeconds));
    listeningSocket_ = sock;
  });
  // Connections beyond what the workers and their queue hold are told the server is busy.
  http_->set_pre_routing_handler([](const httplib::Request&, httplib::Response& response) {
    if (!WorkerPool::shedding())
      return httplib::Server::HandlerResponse::Unhandled;
    refuseAndClose(response, 503, kBusyMessage);
    return httplib::Server::HandlerResponse::Handled;
  });
  // For monitors: no session needed, nothing told but whether the database answers.
  http_->Get("/saude", [this](const httplib::Request&, httplib::Response& response) {
    if (const auto problem = service_.checkHealth())
      refuse(response, 503, *problem);
    else
      answer(response, 200, {true, {}, std::nullopt});
  });
  for (const auto& method : service_.methods())
    route(method.module, method.name);
  route(std::string(kModuleSessao), "Login");
  route(std::string(kModuleSessao), "Logout");
  routePieces();
  // Answers that httplib makes itself get a CallResult body too; ours already have one.
  http_->set_error_handler(httplib::Server::HandlerWithResponse(
      [this](const httplib::Request& request, httplib::Response& response) {
        if (!response.body.empty())
          return httplib::Server::HandlerResponse::Unhandled;
        refuse(response, response.status,
               describeHttpFailure(request, response.status, options_.maxRequestBytes));
        return httplib::Server::HandlerResponse::Handled;
      }));
  http_->set_exception_handler(
      [](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
        std::string detail = "erro desconhecido";
        try {
          std::rethrow_exception(error);
        } catch (const std::exception& e) {
          detail = e.what();
        } catch (...) {
        }
        refuse(response, 500, "Erro interno do servidor de aplicação: " + detail);
      });
}

void AppServer::route(const std::string& module, const std::string& name) {
  const std::string path = module + "." + name;
  http_->Post(
      "/" + module + "/" + name,
      [this, module, name, path](const httplib::Request& request, httplib::Response& response,
                                 const httplib::ContentReader& read) {
        CallRecord record(options_.requestLog.get(), path);
        // The session is checked before the body is read, so that nobody without one makes the
        // server read or parse anything.
        const bool signingIn = module == kModuleSessao && name == "Login";
        const std::string token = bearerToken(request);
        std::string& operatorCode = record.operatorCode;
        if (!signingIn) {
          SessionCheck session = service_.authenticate(token);
          if (!session.operatorCode) {
            record.outcome = "sem sessão";
            refuseAndClose(response, 401, session.refusal);
            return;
          }
          operatorCode = std::move(*session.operatorCode);
        }
        const std::string stagedId = request.get_header_value("X-Corpo-Preparado");
        const bool staged = request.has_header("X-Corpo-Preparado");
        if (staged && (module == kModuleSessao || !StagedBodies::validId(stagedId))) {
          record.message = "O corpo em preparo indicado não é válido para esta chamada.";
          refuse(response, 400, record.message);
          return;
        }
        LargeRequestPlace place(largeRequests_, staged || largeBody(request, options_));
        std::string body;
        if (!readBody(request, read, place, options_, response, record, body)) {
          if (staged)
            staged_.discard(sessionKey(token), stagedId);
          return;
        }
        packet::ReadLimits limits{.maxDepth = packet::ReadLimits{}.maxDepth,
                                  .maxValues = options_.maxRequestValues,
                                  .maxArgs = kMaxArguments};
        if (staged) {
          const std::string session = sessionKey(token);
          size_t pieces = 0;
          if (!body.empty() || !parseCount(request.get_header_value("X-Partes"), pieces)) {
            staged_.discard(session, stagedId);
            record.message =
                "A chamada de um corpo em preparo leva o número de partes (X-Partes) e nenhum "
                "corpo próprio; o corpo foi descartado e nada foi executado.";
            refuse(response, 400, record.message);
            return;
          }
          try {
            body = staged_.take(session, stagedId, pieces);
          } catch (const StagedBodyError& e) {
            record.message = e.what();
            refuse(response, e.status(), record.message);
            return;
          }
          limits.maxValues = std::max(options_.maxRequestValues, options_.maxStagedValues);
        }
        std::vector<packet::Arg> args;
        try {
          // No method takes more than a few arguments; a list of millions is refused at once.
          args = packet::argsFromJsonText(body, limits);
        } catch (const packet::JsonSyntaxError&) {
          record.message = "O corpo da requisição não é um JSON válido.";
          refuse(response, 400, record.message);
          return;
        } catch (const packet::JsonLimitError& e) {
          record.message = e.what();
          refuse(response, 413, record.message);
          return;
        } catch (const packet::PacketError& e) {
          record.message = e.what();
          refuse(response, 400, record.message);
          return;
        }
        std::string().swap(body);
        if (signingIn) {
          if (const auto* claimed = args.empty() ? nullptr : std::get_if<std::string>(&args[0]))
            operatorCode = claimed->substr(0, 32);
          const auto result = signIn(service_, args);
          record.answered(result, false);
          answer(response, 200, result);
        } else if (module == kModuleSessao) {
          staged_.discardSession(sessionKey(token));
          service_.signOut(token);
          record.answered({true, {}, std::nullopt}, false);
          answer(response, 200, {true, {}, std::nullopt});
        } else {
          bool busy = false;
          const auto result =
              service_.call(module, name, args, operatorCode, &busy, callOptions(request));
          record.answered(result, busy);
          answer(response, busy ? 503 : 200, result);
        }
      });
}

void AppServer::routePieces() {
  http_->Post(R"(/preparo/([A-Za-z0-9_-]{1,64})/(\d{1,9}))",
              [this](const httplib::Request& request, httplib::Response& response,
                     const httplib::ContentReader& read) {
                CallRecord record(options_.requestLog.get(), "preparo");
                const std::string token = bearerToken(request);
                SessionCheck session = service_.authenticate(token);
                if (!session.operatorCode) {
                  record.outcome = "sem sessão";
                  refuseAndClose(response, 401, session.refusal);
                  return;
                }
                record.operatorCode = std::move(*session.operatorCode);
                LargeRequestPlace place(largeRequests_, largeBody(request, options_));
                std::string body;
                if (!readBody(request, read, place, options_, response, record, body))
                  return;
                const std::string id = request.matches[1].str();
                size_t index = 0;
                parseCount(request.matches[2].str(), index);
                try {
                  staged_.append(sessionKey(token), id, index, body);
                } catch (const StagedBodyError& e) {
                  record.message = e.what();
                  refuse(response, e.status(), record.message);
                  return;
                }
                record.answered({true, {}, std::nullopt}, false);
                answer(response, 200, {true, {}, std::nullopt});
              });
}

int AppServer::start(const std::string& host, int port) {
  if (thread_.joinable())
    throw std::runtime_error("O servidor de aplicação já está ativo.");
  if (options_.certificateFile.empty() && !isLoopbackAddress(host)) {
    throw std::runtime_error(fmt::format(
        "O servidor de aplicação só atende sem TLS no endereço local (127.0.0.1, ::1 ou "
        "localhost). Para atender em {} informe o certificado e a chave (--cert e --key).",
        host));
  }
  const int bound =
      port == 0 ? http_->bind_to_any_port(host) : (http_->bind_to_port(host, port) ? port : -1);
  if (bound <= 0) {
    throw std::runtime_error(fmt::format(
        "Não foi possível abrir o servidor de aplicação em {}:{} (endereço em uso ou inválido).",
        host, port));
  }
  // Connections waiting for their first bytes must not fill the system's short default queue
  // and turn real callers away: listening again only lengthens it.
  if (listeningSocket_ >= 0)
    ::listen(listeningSocket_, SOMAXCONN);
  port_ = bound;
  loopEnded_ = false;
  thread_ = std::thread([this] {
    http_->listen_after_bind();
    loopEnded_ = true;
  });
  // The socket already accepts connections; waiting for the loop to run lets stop() end it.
  while (!http_->is_running() && !loopEnded_) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return port_;
}

void AppServer::stop() {
  if (!thread_.joinable())
    return;
  http_->stop();
  thread_.join();
}

}  // namespace server
