// The application server's HTTP endpoint, embeddable in any process.
//
// POST /<module>/<Method> with a JSON array of positional arguments answers with the JSON of a
// CallResult; so does every other request (unknown method, malformed body, body over the size
// limit), with a failed status and a Portuguese message. Every call but rdmSessao/Login
// carries its session token as "Authorization: Bearer <token>"; the operator is the session's,
// and a call without a live session is answered 401 and runs nothing. GET /saude answers a
// succeeded status while the database answers, and 503 with the reason when it does not. `start`
// binds and returns the port once connections are accepted; serving runs on the server's own thread
// until `stop` or destruction.
//
// A body larger than one request may carry goes in pieces: POST /preparo/<id>/<n> carries piece
// n (from 0) of the body as raw bytes, with the session's token; then POST /<module>/<Method>
// with an empty body and the headers "X-Corpo-Preparado: <id>" and "X-Partes: <count>" runs
// the call once on the whole staged body, read with the request limits scaled to its size
// (staged_bodies.h).
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <semaphore>
#include <string>
#include <thread>

#include "server/request_log.h"
#include "server/service.h"
#include "server/staged_bodies.h"
#include "server/worker_pool.h"

namespace httplib {
class Server;
}

namespace server {

struct AppServerOptions {
  size_t maxRequestBytes = 64u * 1024u * 1024u;
  // Values (array elements and object members) one request may hold: room for a delta that
  // binds 100,000 clients at once, and a bound on the memory reading it takes.
  size_t maxRequestValues = 6'000'000;
  // Values a call staged in pieces may hold (never fewer than one request): four requests'
  // worth, room for a batch of about 500,000 clients, and a bound on the memory reading it takes.
  size_t maxStagedValues = 24'000'000;
  // Requests with a body larger than this (or of unknown length) take one of a few places
  // before their body is read, so only that many large bodies are ever held and read at once.
  size_t largeRequestBytes = 1024u * 1024u;
  size_t largeRequestsAtOnce = 2;
  std::chrono::milliseconds largeRequestWait{2'000};
  // Bodies larger than one request may carry, staged in pieces by a signed-in session and run
  // as one call (staged_bodies.h): their total bytes, how many a session keeps, their idle time.
  StagedBodyLimits stagedBodies;
  WorkerPoolSize workers;
  // Waiting for a request (each read of it), for the next one on a kept-alive connection, and
  // for each write of an answer. Connections that send nothing never take a worker: the system
  // hands them to the server only once data arrives (or drops them after `idleConnection`).
  std::chrono::seconds readTimeout{3};
  std::chrono::seconds keepAliveTimeout{2};
  std::chrono::seconds writeTimeout{10};
  std::chrono::seconds idleConnection{10};
  ServiceOptions service;
  // PEM files of the server's certificate (chain) and private key: with them the server
  // speaks HTTPS. Without them it serves only loopback addresses.
  std::string certificateFile;
  std::string privateKeyFile;
  // One line per call (request_log.h); none without it.
  std::shared_ptr<RequestLog> requestLog;
};

// True for 127.0.0.0/8, ::1 and "localhost": addresses only this machine reaches.
bool isLoopbackAddress(const std::string& host);

class AppServer {
 public:
  // Opens the database and, with TLS, reads certificate and key; throws SetupError, DbError or
  // std::runtime_error (certificate or key unusable).
  explicit AppServer(const std::string& databasePath, AppServerOptions options = {});
  ~AppServer();
  AppServer(const AppServer&) = delete;
  AppServer& operator=(const AppServer&) = delete;

  // Binds `host` (loopback unless told otherwise) on `port` (0: any free port), starts serving
  // and returns the bound port. Throws std::runtime_error when the address cannot be bound, is
  // not loopback and the server has no TLS, or the server is already started. A server starts
  // once.
  int start(const std::string& host = "127.0.0.1", int port = 0);
  // Stops accepting, finishes the calls under way and joins the serving thread. Idempotent.
  void stop();

  int port() const { return port_; }
  // The in-process entry the endpoint forwards to.
  Service& service() { return service_; }
  StagedBodies& stagedBodies() { return staged_; }

 private:
  void installRoutes();
  void route(const std::string& module, const std::string& name);
  void routePieces();

  AppServerOptions options_;
  Service service_;
  StagedBodies staged_;
  std::counting_semaphore<> largeRequests_;
  std::atomic<int> listeningSocket_ = -1;
  std::unique_ptr<httplib::Server> http_;
  std::thread thread_;
  std::atomic<bool> loopEnded_ = false;
  int port_ = 0;
};

}  // namespace server
