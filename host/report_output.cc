#include "host/report_output.h"

#include <fmt/format.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "host/ui/regional.h"

extern char** environ;

namespace host {

namespace fs = std::filesystem;

std::vector<std::string> findPrintCommand() {
  const char* path = std::getenv("PATH");
  if (path == nullptr)
    return {};
  for (const char* program : {"lp", "lpr"}) {
    std::string_view rest(path);
    while (!rest.empty()) {
      const auto colon = rest.find(':');
      const std::string dir(rest.substr(0, colon));
      rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
      if (dir.empty())
        continue;
      const fs::path candidate = fs::path(dir) / program;
      if (::access(candidate.c_str(), X_OK) == 0)
        return {candidate.string()};
    }
  }
  return {};
}

std::string runPrintCommand(const std::vector<std::string>& command, const std::string& file) {
  if (command.empty())
    return "nenhum comando de impressão foi configurado";
  std::vector<std::string> args = command;
  args.push_back(file);
  std::vector<char*> argv;
  for (auto& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ);
  if (spawned != 0)
    return fmt::format("o comando '{}' não pôde ser executado: {}", command[0],
                       std::strerror(spawned));
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR)
      return fmt::format("o comando '{}' não pôde ser acompanhado", command[0]);
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return {};
  if (WIFEXITED(status))
    return fmt::format("o comando '{}' terminou com o código {}", command[0], WEXITSTATUS(status));
  return fmt::format("o comando '{}' foi interrompido", command[0]);
}

std::string newReportPath(const std::string& folder, const std::string& code) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder)) {
    throw std::runtime_error(
        fmt::format("Não foi possível criar a pasta de relatórios '{}'.", folder));
  }
  const double now = ui::regional::now();
  const auto date = ui::regional::decodeDate(now);
  const auto time = ui::regional::decodeTime(now);
  const std::string stem = fmt::format("{}-{:04}{:02}{:02}-{:02}{:02}{:02}", code, date.year,
                                       date.month, date.day, time.hour, time.minute, time.second);
  fs::path path = fs::path(folder) / (stem + ".pdf");
  for (int n = 2; fs::exists(path, error); ++n)
    path = fs::path(folder) / fmt::format("{}-{}.pdf", stem, n);
  return path.string();
}

std::string temporaryReportPath(const std::string& code) {
  std::string pattern = (fs::temp_directory_path() / (code + "-XXXXXX.pdf")).string();
  const int fd = mkstemps(pattern.data(), 4);
  if (fd < 0) {
    throw std::runtime_error(
        fmt::format("Não foi possível criar um arquivo temporário para o relatório: {}.",
                    std::strerror(errno)));
  }
  ::close(fd);
  return pattern;
}

}  // namespace host
