#include "host/net_connection.h"

#include <fmt/format.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <mutex>
#include <nlohmann/json.hpp>

namespace host {

namespace {

std::mutex operatorMutex;
std::string processOperator;
std::atomic<CallHook*> processHook{nullptr};

packet::CallResult failure(std::string message) {
  return {false, std::move(message), {}};
}

bool isMethodName(const std::string& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
  });
}

double seconds(std::chrono::milliseconds duration) {
  return std::chrono::duration<double>(duration).count();
}

}  // namespace

CallHook::~CallHook() = default;

TNetConnection::TNetConnection(std::string moduleName) : moduleName_(std::move(moduleName)) {
}

TNetConnection::~TNetConnection() = default;
TNetConnection::TNetConnection(TNetConnection&&) noexcept = default;
TNetConnection& TNetConnection::operator=(TNetConnection&&) noexcept = default;

void TNetConnection::connect() {
  if (beforeConnect)
    beforeConnect(*this);
  auto client = std::make_unique<httplib::Client>(host_, port_);
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

void TNetConnection::setOperatorCode(std::string code) {
  // A header value cannot hold line breaks.
  code.erase(
      std::remove_if(code.begin(), code.end(), [](char c) { return c == '\r' || c == '\n'; }),
      code.end());
  std::lock_guard lock(operatorMutex);
  processOperator = std::move(code);
}

std::string TNetConnection::operatorCode() {
  std::lock_guard lock(operatorMutex);
  return processOperator;
}

void TNetConnection::setCallHook(CallHook* hook) {
  processHook = hook;
}

packet::CallResult TNetConnection::call(const std::string& method, std::vector<packet::Arg> args) {
  CallHook* hook = processHook;
  try {
    std::optional<packet::CallResult> injected;
    if (hook != nullptr)
      injected = hook->before(*this, method, args);
    packet::CallResult result = injected ? std::move(*injected) : callServer(method, args);
    if (hook != nullptr)
      hook->after(*this, method, args, result);
    return result;
  } catch (const std::exception& e) {
    return failure(
        fmt::format("Falha na chamada de {} ao servidor de aplicação: {}", method, e.what()));
  }
}

packet::CallResult TNetConnection::callServer(const std::string& method,
                                              const std::vector<packet::Arg>& args) {
  if (!client_) {
    return failure(
        fmt::format("A conexão com o servidor de aplicação ({}) não está aberta.", moduleName_));
  }
  if (!isMethodName(method))
    return failure(fmt::format("Nome de método inválido: '{}'.", method));

  const std::string body =
      packet::argsToJson(args).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  const httplib::Headers headers = {{"X-Operador", operatorCode()}};
  const auto response =
      client_->Post("/" + moduleName_ + "/" + method, headers, body, "application/json");
  if (!response) {
    switch (response.error()) {
      case httplib::Error::Connection:
      case httplib::Error::ConnectionTimeout:
        return failure(
            fmt::format("Não foi possível conectar ao servidor de aplicação em {}:{} ({}).", host_,
                        port_, moduleName_));
      case httplib::Error::Read:
        return failure(fmt::format(
            "O servidor de aplicação não respondeu a {} (tempo limite de {} s ou conexão "
            "interrompida).",
            method, seconds(readTimeout_)));
      default:
        return failure(fmt::format("Falha na comunicação com o servidor de aplicação em {} ({}).",
                                   method, httplib::to_string(response.error())));
    }
  }
  const auto json = nlohmann::json::parse(response->body, nullptr, false);
  if (json.is_discarded()) {
    return failure(fmt::format(
        "Resposta inválida do servidor de aplicação a {} (HTTP {}): o conteúdo não é JSON.", method,
        response->status));
  }
  try {
    packet::CallResult result = packet::callResultFromJson(json);
    if (result.ok && response->status != 200) {
      return failure(fmt::format("Resposta inválida do servidor de aplicação a {} (HTTP {}).",
                                 method, response->status));
    }
    return result;
  } catch (const packet::PacketError& e) {
    return failure(
        fmt::format("Resposta inválida do servidor de aplicação a {}: {}", method, e.what()));
  }
}

}  // namespace host
