// The application server of a scale run in a process of its own, on loopback, as in a
// deployment: the run's resident memory is then the client tier's alone, and the server's is
// read apart.
#pragma once

#include <sys/types.h>

#include <string>

namespace bench {

class ServerProcess {
 public:
  // Forks the server over the database and opens a session for the operator there. Call it
  // before the calling process starts any thread. Throws std::runtime_error when the server
  // does not come up.
  ServerProcess(const std::string& databasePath, const std::string& operatorCode);
  // Stops the server and waits for it.
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }
  const std::string& sessionToken() const { return token_; }
  // The server process's resident memory now.
  long residentKb() const;

 private:
  void stop();

  pid_t pid_ = -1;
  int port_ = 0;
  std::string token_;
};

// Resident memory of a process (0 when it cannot be read).
long residentKbOf(pid_t pid);

// Everything a child process writes into a pipe, read until it closes its end; closes `fd`.
std::string readToEnd(int fd);

}  // namespace bench
