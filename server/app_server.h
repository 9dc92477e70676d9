// The application server's HTTP endpoint, embeddable in any process.
//
// POST /<module>/<Method> with a JSON array of positional arguments answers with the JSON of a
// CallResult; so does every other request (unknown method, malformed body, body over the size
// limit), with a failed status and a Portuguese message. The operator comes in the
// "X-Operador" header. `start` binds and returns the port once connections are accepted;
// serving runs on the server's own thread until `stop` or destruction.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>

#include "server/service.h"

namespace httplib {
class Server;
}

namespace server {

struct AppServerOptions {
  size_t maxRequestBytes = 64u * 1024u * 1024u;
};

class AppServer {
 public:
  // Opens the database; throws SetupError or DbError.
  explicit AppServer(const std::string& databasePath, AppServerOptions options = {});
  ~AppServer();
  AppServer(const AppServer&) = delete;
  AppServer& operator=(const AppServer&) = delete;

  // Binds `host` (loopback unless told otherwise) on `port` (0: any free port), starts serving
  // and returns the bound port. Throws std::runtime_error when the address cannot be bound or
  // the server is already started. A server starts once.
  int start(const std::string& host = "127.0.0.1", int port = 0);
  // Stops accepting, finishes the calls under way and joins the serving thread. Idempotent.
  void stop();

  int port() const { return port_; }
  // The in-process entry the endpoint forwards to.
  Service& service() { return service_; }

 private:
  void installRoutes();

  AppServerOptions options_;
  Service service_;
  std::unique_ptr<httplib::Server> http_;
  std::thread thread_;
  std::atomic<bool> loopEnded_ = false;
  int port_ = 0;
};

}  // namespace server
