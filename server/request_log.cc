#include "server/request_log.h"

#include <fcntl.h>
#include <fmt/chrono.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace server {

std::shared_ptr<RequestLog> RequestLog::open(const std::string& where) {
  if (where == "-")
    return std::shared_ptr<RequestLog>(new RequestLog(stderr, false));
  // Operator codes are in it: only the server's user reads it.
  const int fd =
      ::open(where.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, S_IRUSR | S_IWUSR);
  std::FILE* out = fd >= 0 ? ::fdopen(fd, "a") : nullptr;
  if (out == nullptr) {
    const std::string reason = std::strerror(errno);
    if (fd >= 0)
      ::close(fd);
    throw std::runtime_error(
        fmt::format("Não foi possível abrir o registro de chamadas '{}': {}", where, reason));
  }
  return std::shared_ptr<RequestLog>(new RequestLog(out, true));
}

RequestLog::~RequestLog() {
  if (owned_)
    std::fclose(out_);
}

void RequestLog::record(std::string_view operatorCode, std::string_view method,
                        std::chrono::steady_clock::duration took, std::string_view outcome,
                        std::string_view message) {
  const auto now = std::chrono::system_clock::now();
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  std::string line =
      fmt::format("{:%Y-%m-%dT%H:%M:%S}.{:03}Z {} {} {:.1f}ms {}", utc, millis,
                  operatorCode.empty() ? std::string_view("-") : operatorCode, method,
                  std::chrono::duration<double, std::milli>(took).count(), outcome);
  if (!message.empty()) {
    // One line per call, whatever the message holds.
    std::string quoted;
    for (const char c : message)
      quoted += c == '\n' || c == '\r' ? ' ' : (c == '"' ? '\'' : c);
    line += fmt::format(" \"{}\"", quoted);
  }
  line += '\n';
  std::lock_guard lock(mutex_);
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
}

}  // namespace server
