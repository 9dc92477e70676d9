#include "host/net_connection.h"

#include <fmt/format.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <mutex>
#include <random>

#include "host/process_state.h"
#include "packet/json_text.h"

namespace host {

namespace {

ConnectionSettings& settings() {
  return processState().connections;
}

constexpr std::string_view kTlsScheme = "https://";

packet::CallResult failure(std::string message) {
  return {false, std::move(message), {}};
}

bool isMethodName(const std::string& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
  });
}

// The length an answer declares, as far as it is worth reserving: a peer may declare any
// length, and the text grows past the cap as its bytes actually arrive.
size_t declaredLength(const httplib::Response& head) {
  constexpr size_t kMostReserved = size_t{256} << 20;
  const std::string declared = head.get_header_value("Content-Length");
  size_t length = 0;
  const auto [end, error] =
      std::from_chars(declared.data(), declared.data() + declared.size(), length);
  if (error != std::errc() || end != declared.data() + declared.size())
    return 0;
  return std::min(length, kMostReserved);
}

double seconds(std::chrono::milliseconds duration) {
  return std::chrono::duration<double>(duration).count();
}

// Where a request goes, and what its failures name.
struct Peer {
  httplib::Client& client;
  const std::string& host;
  int port;
  const std::string& module;
  packet::RowForm rows;  // how the answer's packet keeps its rows
};

// Sends one request and reads its CallResult, waiting at most `wait`; `sessionRefused` tells a
// failure caused by the session.
packet::CallResult send(const Peer& peer, const std::string& method, const std::string& path,
                        httplib::Headers headers, std::string body, std::chrono::milliseconds wait,
                        bool& sessionRefused) {
  sessionRefused = false;
  peer.client.set_read_timeout(wait);
  peer.client.set_write_timeout(wait);
  httplib::Request request;
  request.method = "POST";
  request.path = path;
  request.headers = std::move(headers);
  request.headers.emplace("Content-Type", "application/json");
  request.body = std::move(body);
  // The answer of a whole service runs to tens of megabytes: its declared length is reserved
  // once instead of the text growing, and copied, as it arrives.
  std::string answer;
  request.response_handler = [&answer](const httplib::Response& head) {
    answer.reserve(declaredLength(head));
    return true;
  };
  request.content_receiver = [&answer](const char* data, size_t length, uint64_t, uint64_t) {
    answer.append(data, length);
    return true;
  };
  const auto response = peer.client.send(request);
  if (!response) {
    switch (response.error()) {
      case httplib::Error::SSLServerVerification:
        return failure(fmt::format(
            "O certificado do servidor de aplicação em {}:{} não é válido ou não é de uma "
            "autoridade confiável; a conexão foi recusada.",
            peer.host, peer.port));
      case httplib::Error::SSLConnection:
        return failure(fmt::format(
            "Não foi possível estabelecer a conexão segura (TLS) com o servidor de aplicação em "
            "{}:{}.",
            peer.host, peer.port));
      case httplib::Error::Connection:
      case httplib::Error::ConnectionTimeout:
        return failure(
            fmt::format("Não foi possível conectar ao servidor de aplicação em {}:{} ({}).",
                        peer.host, peer.port, peer.module));
      case httplib::Error::Read:
        return failure(fmt::format(
            "O servidor de aplicação não respondeu a {} (tempo limite de {} s ou conexão "
            "interrompida).",
            method, seconds(wait)));
      default:
        return failure(fmt::format("Falha na comunicação com o servidor de aplicação em {} ({}).",
                                   method, httplib::to_string(response.error())));
    }
  }
  try {
    packet::CallResult result = packet::callResultFromJsonTextInPlace(answer, peer.rows);
    sessionRefused = response->status == 401 && !result.ok;
    if (result.ok && response->status != 200) {
      return failure(fmt::format("Resposta inválida do servidor de aplicação a {} (HTTP {}).",
                                 method, response->status));
    }
    return result;
  } catch (const packet::JsonSyntaxError&) {
    return failure(fmt::format(
        "Resposta inválida do servidor de aplicação a {} (HTTP {}): o conteúdo não é JSON.", method,
        response->status));
  } catch (const packet::PacketError& e) {
    return failure(
        fmt::format("Resposta inválida do servidor de aplicação a {}: {}", method, e.what()));
  }
}

// An id for a staged body, unique enough that two calls of one session never share it.
std::string newStagingId() {
  static thread_local std::mt19937_64 generator{std::random_device{}()};
  return fmt::format("{:016x}{:016x}", generator(), generator());
}

}  // namespace

CallHook::~CallHook() = default;

void ConnectionSettings::reset() {
  {
    std::lock_guard guard(lock);
    sessionToken.clear();
    sessionRenewer = nullptr;
    trustedCertificates.clear();
  }
  hook = nullptr;
}

TNetConnection::TNetConnection(std::string moduleName) : moduleName_(std::move(moduleName)) {
}

TNetConnection::~TNetConnection() = default;
TNetConnection::TNetConnection(TNetConnection&&) noexcept = default;
TNetConnection& TNetConnection::operator=(TNetConnection&&) noexcept = default;

void TNetConnection::connect() {
  if (beforeConnect)
    beforeConnect(*this);
  std::unique_ptr<httplib::Client> client;
  if (host_.starts_with(kTlsScheme)) {
    client = std::make_unique<httplib::Client>(host_ + ":" + std::to_string(port_));
    client->enable_server_certificate_verification(true);
    std::lock_guard guard(settings().lock);
    if (!settings().trustedCertificates.empty())
      client->set_ca_cert_path(settings().trustedCertificates.c_str());
  } else {
    client = std::make_unique<httplib::Client>(host_, port_);
  }
  client->set_keep_alive(true);
  client->set_tcp_nodelay(true);
  client->set_connection_timeout(std::chrono::seconds(5));
  client->set_read_timeout(readTimeout_);
  client->set_write_timeout(readTimeout_);
  client_ = std::move(client);
}

void TNetConnection::disconnect() {
  client_.reset();
}

void TNetConnection::setSessionToken(std::string token) {
  std::lock_guard guard(settings().lock);
  settings().sessionToken = std::move(token);
}

std::string TNetConnection::sessionToken() {
  std::lock_guard guard(settings().lock);
  return settings().sessionToken;
}

void TNetConnection::setSessionRenewer(std::function<bool()> renewer) {
  std::lock_guard guard(settings().lock);
  settings().sessionRenewer = std::move(renewer);
}

void TNetConnection::setTrustedCertificates(std::string pemFile) {
  std::lock_guard guard(settings().lock);
  settings().trustedCertificates = std::move(pemFile);
}

void TNetConnection::setCallHook(CallHook* hook) {
  settings().hook = hook;
}

packet::CallResult TNetConnection::call(const std::string& method, std::vector<packet::Arg> args) {
  return call(method, std::move(args), packet::CallOptions{});
}

packet::CallResult TNetConnection::call(const std::string& method, std::vector<packet::Arg> args,
                                        const packet::CallOptions& options) {
  CallHook* hook = settings().hook;
  try {
    std::optional<packet::CallResult> injected;
    if (hook != nullptr)
      injected = hook->before(*this, method, args);
    bool sessionRefused = false;
    packet::CallResult result =
        injected ? std::move(*injected) : callServer(method, args, options, sessionRefused);
    if (sessionRefused) {
      std::function<bool()> renewer;
      {
        std::lock_guard guard(settings().lock);
        renewer = settings().sessionRenewer;
      }
      if (renewer && renewer())
        result = callServer(method, args, options, sessionRefused);
    }
    if (hook != nullptr)
      hook->after(*this, method, args, result);
    return result;
  } catch (const std::exception& e) {
    return failure(
        fmt::format("Falha na chamada de {} ao servidor de aplicação: {}", method, e.what()));
  }
}

packet::CallResult TNetConnection::callServer(const std::string& method,
                                              const std::vector<packet::Arg>& args,
                                              const packet::CallOptions& options,
                                              bool& sessionRefused) {
  sessionRefused = false;
  if (!client_) {
    return failure(
        fmt::format("A conexão com o servidor de aplicação ({}) não está aberta.", moduleName_));
  }
  if (!isMethodName(method))
    return failure(fmt::format("Nome de método inválido: '{}'.", method));

  std::string body = packet::argsToJsonText(args);
  httplib::Headers headers;
  if (const std::string token = sessionToken(); !token.empty())
    headers.emplace("Authorization", "Bearer " + token);
  if (options.knownVersion > 0)
    headers.emplace("X-Versao", std::to_string(options.knownVersion));
  // A large delta takes the server longer to save: wait as long as its budget allows, and a
  // little more, so the server's own reason arrives before the wait ends.
  const std::chrono::milliseconds wait =
      packet::timeForDeltaRows(readTimeout_, packet::deltaRows(args));
  const Peer peer{*client_, host_, port_, moduleName_,
                  options.packedRows ? packet::RowForm::Packed : packet::RowForm::Values};
  const std::string path = "/" + moduleName_ + "/" + method;
  if (body.size() <= pieceBytes_)
    return send(peer, method, path, std::move(headers), std::move(body), wait, sessionRefused);

  // Too large for one request: the pieces are staged on the server, then the call runs there
  // once on the whole body.
  const std::string id = newStagingId();
  size_t pieces = 0;
  for (size_t offset = 0; offset < body.size(); offset += pieceBytes_, ++pieces) {
    httplib::Headers pieceHeaders;
    if (const auto token = headers.find("Authorization"); token != headers.end())
      pieceHeaders.emplace(token->first, token->second);
    packet::CallResult staged =
        send(peer, method, fmt::format("/preparo/{}/{}", id, pieces), std::move(pieceHeaders),
             body.substr(offset, pieceBytes_), readTimeout_, sessionRefused);
    if (!staged.ok)
      return staged;
  }
  std::string().swap(body);
  headers.emplace("X-Corpo-Preparado", id);
  headers.emplace("X-Partes", std::to_string(pieces));
  return send(peer, method, path, std::move(headers), {}, wait, sessionRefused);
}

}  // namespace host
