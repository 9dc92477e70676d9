// The PDF writer's font data lives as long as the process; it is freed when the tests end, so
// the leak checker of the sanitizer build sees only what the tests themselves leave behind.
#include <gtest/gtest.h>

#include "host/report_pdf.h"

namespace {

class ReportFontsEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { host::releaseReportFonts(); }
};

const ::testing::Environment* const kReportFonts =
    ::testing::AddGlobalTestEnvironment(new ReportFontsEnvironment);

}  // namespace
