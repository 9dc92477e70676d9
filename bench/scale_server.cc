#include "bench/scale_server.h"

#include <fmt/format.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "server/app_server.h"
#include "server/service.h"

namespace bench {

namespace {

// The server's side: serves until SIGTERM; its first words on the channel are its port and the
// operator's session token, or "0" and why it could not start.
[[noreturn]] void serve(int channel, const std::string& databasePath,
                        const std::string& operatorCode) {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  int status = 0;
  std::string greeting;
  std::unique_ptr<server::AppServer> appServer;
  try {
    appServer = std::make_unique<server::AppServer>(databasePath);
    const int port = appServer->start();
    greeting =
        fmt::format("{} {}\n", port, appServer->service().openLocalSession(operatorCode).token);
  } catch (const std::exception& e) {
    greeting = fmt::format("0 {}\n", e.what());
    status = 1;
  }
  const bool told =
      write(channel, greeting.data(), greeting.size()) == static_cast<ssize_t>(greeting.size());
  close(channel);
  if (told && status == 0) {
    int signal = 0;
    sigwait(&stop, &signal);
    appServer->stop();
  }
  _exit(status);
}

}  // namespace

long residentKbOf(pid_t pid) {
  std::ifstream statm(fmt::format("/proc/{}/statm", pid));
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::string readToEnd(int fd) {
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<size_t>(n));
  close(fd);
  return text;
}

ServerProcess::ServerProcess(const std::string& databasePath, const std::string& operatorCode) {
  int channel[2];
  if (pipe(channel) != 0)
    throw std::runtime_error("cannot open a channel to the server process");
  std::cout << std::flush;
  std::cerr << std::flush;
  pid_ = fork();
  if (pid_ < 0)
    throw std::runtime_error("cannot start the server process");
  if (pid_ == 0) {
    close(channel[0]);
    serve(channel[1], databasePath, operatorCode);
  }
  close(channel[1]);
  std::istringstream in(readToEnd(channel[0]));
  in >> port_;
  in.ignore();
  std::getline(in, token_);
  if (port_ <= 0) {
    stop();
    throw std::runtime_error("the server process did not start: " + token_);
  }
}

ServerProcess::~ServerProcess() {
  stop();
}

void ServerProcess::stop() {
  if (pid_ <= 0)
    return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

long ServerProcess::residentKb() const {
  return residentKbOf(pid_);
}

}  // namespace bench
