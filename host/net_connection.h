// TNetConnection: the forms' connection to one remote data module of the application server.
//
// A form names the module ("rdmClientesServico", "rdmCustProd"), sets host and port (directly
// or in `beforeConnect`, which `connect()` runs first) and calls methods by name with
// positional arguments. `call` never throws and never hangs: a refused connection, a timeout or
// an answer that is not a CallResult becomes a failed result with a Portuguese message, which
// the host's CheckResultServ then raises. Calls reuse one keep-alive connection. Used from the
// user-interface thread.
//
// Sessions: every call carries the process-wide session token ("Authorization: Bearer"). When
// the server refuses the session (expired, revoked), the process-wide renewer, when the host
// installed one, may sign in again (silently, or by asking for the password); the call is then
// sent once more with the new token.
//
// TLS: a host written "https://name" is reached over TLS, and the server's certificate must be
// valid for that name and signed by an authority the system trusts, or by one in the file given
// to setTrustedCertificates.
//
// Large calls: a call whose body is larger than one piece (16 MiB unless changed) is sent in
// pieces that the server stages for the session, then run there as one call by a final request
// that names them, so it is saved whole or not at all however large it is. The hook and the
// caller see one call.
//
// A process-wide CallHook sees every call: it may answer in the server's place (the script
// driver injects failures this way) and it receives every answer (transcripts).
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "packet/remote_call.h"

namespace httplib {
class Client;
}

namespace host {

class TNetConnection;

struct CallHook {
  virtual ~CallHook();
  // An answer to give instead of calling the server, or nothing to call it.
  virtual std::optional<packet::CallResult> before(const TNetConnection& connection,
                                                   const std::string& method,
                                                   const std::vector<packet::Arg>& args) = 0;
  virtual void after(const TNetConnection& connection, const std::string& method,
                     const std::vector<packet::Arg>& args, const packet::CallResult& result) = 0;
};

// What every connection of the process shares, kept in host::ProcessState and written through
// TNetConnection's static setters. The lock guards the texts and the renewer; the hook is read
// on every call without it.
struct ConnectionSettings {
  std::mutex lock;
  std::string sessionToken;
  std::function<bool()> sessionRenewer;
  std::string trustedCertificates;  // PEM file; empty: the system's authorities
  std::atomic<CallHook*> hook{nullptr};

  // No session, no renewer, the system's authorities, no hook.
  void reset();
};

class TNetConnection {
 public:
  explicit TNetConnection(std::string moduleName = {});
  ~TNetConnection();
  TNetConnection(TNetConnection&&) noexcept;
  TNetConnection& operator=(TNetConnection&&) noexcept;
  TNetConnection(const TNetConnection&) = delete;
  TNetConnection& operator=(const TNetConnection&) = delete;

  const std::string& moduleName() const { return moduleName_; }
  void setModuleName(std::string name) { moduleName_ = std::move(name); }
  const std::string& host() const { return host_; }
  void setHost(std::string host) { host_ = std::move(host); }
  int port() const { return port_; }
  void setPort(int port) { port_ = port; }
  // Longest wait for an answer; 30 s unless changed. A call carrying deltas waits
  // packet::kTimePerDeltaRow longer per row, as the server's budget for it grows.
  void setReadTimeout(std::chrono::milliseconds timeout) { readTimeout_ = timeout; }

  // Largest body sent in one request; a larger one goes in pieces of this size.
  void setPieceBytes(size_t bytes) { pieceBytes_ = bytes == 0 ? 1 : bytes; }

  bool connected() const { return client_ != nullptr; }
  // Runs beforeConnect, then prepares the connection to host and port. Opening the socket waits
  // for the first call, so an unreachable server shows up as that call's failed result.
  void connect();
  void disconnect();

  std::function<void(TNetConnection&)> beforeConnect;

  packet::CallResult call(const std::string& method, std::vector<packet::Arg> args);
  // The same, saying what the caller already holds (a versioned read may then answer only what
  // changed since; see packet::CallOptions).
  packet::CallResult call(const std::string& method, std::vector<packet::Arg> args,
                          const packet::CallOptions& options);

  static void setSessionToken(std::string token);
  static std::string sessionToken();
  // Called when the server refuses the session; returns whether a new session was opened (and
  // its token set). Null removes it.
  static void setSessionRenewer(std::function<bool()> renewer);
  // A PEM file of the certificate authorities to trust for TLS servers; empty: the system's.
  static void setTrustedCertificates(std::string pemFile);
  // Installs the hook for every connection of the process; null removes it.
  static void setCallHook(CallHook* hook);

 private:
  // `sessionRefused` tells a failure caused by the session.
  packet::CallResult callServer(const std::string& method, const std::vector<packet::Arg>& args,
                                const packet::CallOptions& options, bool& sessionRefused);

  std::string moduleName_;
  std::string host_ = "127.0.0.1";
  int port_ = 0;
  std::chrono::milliseconds readTimeout_ = std::chrono::seconds(30);
  size_t pieceBytes_ = size_t{16} << 20;
  std::unique_ptr<httplib::Client> client_;
};

}  // namespace host
