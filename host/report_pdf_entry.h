// How the host library reaches the PDF writer it loads on demand: the writer's library exports
// one C function that gives its two functions.
#pragma once

#include <string>
#include <vector>

#include "host/report_layout.h"

namespace host {

struct ReportPdfWriter {
  void (*write)(const std::vector<ReportPage>& pages, int columns, int lines,
                const std::string& path);
  void (*releaseFonts)();
};

inline constexpr const char* kReportPdfLibrary = "libhost_pdf.so";
inline constexpr const char* kReportPdfEntry = "cpsReportPdfWriter";

}  // namespace host
