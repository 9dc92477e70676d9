// The request log: one line per call the endpoint answers, for operations to follow the load
// and find failures.
//
//   2026-12-09T14:03:07.412Z ANA rdmClientesServico.UpdServClie 18.4ms ok
//   2026-12-09T14:03:09.020Z - rdmSessao.Login 1.2ms recusada "Operador ou senha inválidos."
//
// Fields: the time the call ended (UTC), the operator of the call's session ("-" before one
// is known), module.method, how long the endpoint took, and the outcome: "ok", "recusada" with
// the answer's message, "ocupado" (the server was busy) or "sem sessão" (no live session).
// Lines are written whole, from any thread.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace server {

class RequestLog {
 public:
  // Logs to standard error for "-", else appends to the file (created owner-only). Throws
  // std::runtime_error when the file cannot be opened.
  static std::shared_ptr<RequestLog> open(const std::string& where);
  ~RequestLog();
  RequestLog(const RequestLog&) = delete;
  RequestLog& operator=(const RequestLog&) = delete;

  void record(std::string_view operatorCode, std::string_view method,
              std::chrono::steady_clock::duration took, std::string_view outcome,
              std::string_view message = {});

 private:
  RequestLog(std::FILE* out, bool owned) : out_(out), owned_(owned) {}

  std::mutex mutex_;
  std::FILE* out_;
  bool owned_;
};

}  // namespace server
