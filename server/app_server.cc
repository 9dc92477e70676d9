#include "server/app_server.h"

#include <fmt/format.h>
#include <httplib.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "packet/json_codec.h"

namespace server {

namespace {

constexpr const char* kJsonType = "application/json; charset=utf-8";

void answer(httplib::Response& response, int status, const packet::CallResult& result) {
  response.status = status;
  response.set_content(
      packet::toJson(result).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
      kJsonType);
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
    default:
      return fmt::format("O servidor de aplicação não atendeu a requisição (HTTP {}).", status);
  }
}

}  // namespace

AppServer::AppServer(const std::string& databasePath, AppServerOptions options)
    : options_(options), service_(databasePath), http_(std::make_unique<httplib::Server>()) {
  installRoutes();
}

AppServer::~AppServer() {
  stop();
}

void AppServer::installRoutes() {
  http_->set_tcp_nodelay(true);
  http_->set_payload_max_length(options_.maxRequestBytes);
  for (const auto& method : service_.methods()) {
    const std::string module = method.module;
    const std::string name = method.name;
    http_->Post("/" + module + "/" + name,
                [this, module, name](const httplib::Request& request, httplib::Response& response) {
                  const auto body = nlohmann::json::parse(request.body, nullptr, false);
                  if (body.is_discarded()) {
                    refuse(response, 400, "O corpo da requisição não é um JSON válido.");
                    return;
                  }
                  std::vector<packet::Arg> args;
                  try {
                    args = packet::argsFromJson(body);
                  } catch (const packet::PacketError& e) {
                    refuse(response, 400, e.what());
                    return;
                  }
                  answer(response, 200,
                         service_.call(module, name, args, request.get_header_value("X-Operador")));
                });
  }
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

int AppServer::start(const std::string& host, int port) {
  if (thread_.joinable())
    throw std::runtime_error("O servidor de aplicação já está ativo.");
  const int bound =
      port == 0 ? http_->bind_to_any_port(host) : (http_->bind_to_port(host, port) ? port : -1);
  if (bound <= 0) {
    throw std::runtime_error(fmt::format(
        "Não foi possível abrir o servidor de aplicação em {}:{} (endereço em uso ou inválido).",
        host, port));
  }
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
