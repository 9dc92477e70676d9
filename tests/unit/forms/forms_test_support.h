// Support shared by the form tests: a demo database made as the application server makes one,
// and a process brought back to how it starts.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "host/process_state.h"
#include "module/module_state.h"
#include "server/database_setup.h"

namespace forms_test {

// The host's process state and the module's unit state at their start values, every form gone.
inline void resetProcess() {
  host::processState().reset();
  moduleState().reset();
}

// A database file with the schema and the demo data, in a folder of the test's own that goes
// with it.
class DemoDatabase {
 public:
  explicit DemoDatabase(const std::string& prefix) {
    folder_ = std::filesystem::temp_directory_path() /
              (prefix + "-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "cps.db").string();
    server::createDatabase(path_, true);
  }
  ~DemoDatabase() { std::filesystem::remove_all(folder_); }
  DemoDatabase(const DemoDatabase&) = delete;
  DemoDatabase& operator=(const DemoDatabase&) = delete;

  const std::string& path() const { return path_; }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::string path_;
};

}  // namespace forms_test
