#include "shell/script/run_scripts.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>

namespace script {

namespace {

int runOne(const std::string& file, const SessionOptions& options) {
  std::ifstream in(file);
  if (!in) {
    std::cout << file << ": cannot read the script\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  try {
    const auto commands = parseScript(file, text.str());
    Session session(options);
    return session.run(commands);
  } catch (const ScriptSyntaxError& e) {
    std::cout << e.what() << '\n';
  } catch (const std::exception& e) {
    std::cout << file << ": " << e.what() << '\n';
  }
  return 1;
}

}  // namespace

int runScriptFiles(const std::vector<std::string>& files, const SessionOptions& options) {
  int failed = 0;
  for (const auto& file : files) {
    std::cout << std::flush;
    const pid_t child = fork();
    if (child < 0) {
      std::cout << file << ": cannot start a process for the script\n";
      ++failed;
      continue;
    }
    if (child == 0) {
      const int code = runOne(file, options);
      std::cout << std::flush;
      std::exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!ok)
      ++failed;
    if (!options.quiet || !ok) {
      std::cout << file << (ok ? ": ok" : ": FAILED") << '\n' << std::flush;
    }
  }
  return failed == 0 ? 0 : 1;
}

}  // namespace script
