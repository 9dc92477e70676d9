// scale_client: one headless run of a scale action, started by scale_bench in a fresh process
// so that the run's memory is what the client tier holds: this program links the script
// driver, the module's platform libraries and the embedded server, not the desktop's toolkit,
// and inherits no pages from the benchmark that started it.
//
//   scale_client ACTION DATABASE CLIENTS PLACEMENT REPORT_FD
//
// ACTION and PLACEMENT are the numbers of bench::Action and bench::ServerPlacement. The
// transcript goes to standard output; the run's figures (bench::reportText) to REPORT_FD.
#include <unistd.h>

#include <exception>
#include <iostream>
#include <string>

#include "bench/scale_run.h"

int main(int argc, char** argv) {
  int action = 0;
  int clients = 0;
  int placement = 0;
  int fd = -1;
  try {
    if (argc == 6) {
      action = std::stoi(argv[1]);
      clients = std::stoi(argv[3]);
      placement = std::stoi(argv[4]);
      fd = std::stoi(argv[5]);
    }
  } catch (const std::exception&) {
    fd = -1;
  }
  if (fd < 0) {
    std::cerr << "usage: scale_client ACTION DATABASE CLIENTS PLACEMENT REPORT_FD\n";
    return 2;
  }
  bench::ActionResult result;
  try {
    result = bench::perform(static_cast<bench::Action>(action), argv[2], clients,
                            static_cast<bench::ServerPlacement>(placement), nullptr);
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  std::cout << std::flush;
  const std::string report = bench::reportText(result);
  return write(fd, report.data(), report.size()) == static_cast<ssize_t>(report.size()) ? 0 : 1;
}
