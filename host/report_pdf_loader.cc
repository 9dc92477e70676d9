// writeReportPdf and releaseReportFonts through the PDF writer's library (libhost_pdf.so,
// next to this one), loaded the first time a report is written: its cairo and fontconfig,
// with the X11, freetype and pixman libraries they bring, touch about 1.8 MB of pages as they
// load, which a process that never prints a report does not need.
#include <fmt/format.h>

#include <mutex>
#include <stdexcept>
#include <utility>

#include "host/report_pdf.h"
#include "host/report_pdf_entry.h"
#include "storage/library_beside.h"

namespace host {

namespace {

struct LoadedWriter {
  const ReportPdfWriter* writer = nullptr;
  std::string error;
};

std::once_flag loadOnce;
LoadedWriter loaded;

const LoadedWriter& loadedWriter() {
  std::call_once(loadOnce, [] {
    // Never closed: fontconfig and cairo keep data of their own until the process ends.
    storage::LibraryEntry library = storage::loadLibraryBeside(
        reinterpret_cast<const void*>(&writeReportPdf), kReportPdfLibrary, kReportPdfEntry);
    if (library.entry == nullptr) {
      loaded.error = std::move(library.error);
      return;
    }
    loaded.writer = reinterpret_cast<const ReportPdfWriter* (*)()>(library.entry)();
  });
  return loaded;
}

}  // namespace

void writeReportPdf(const std::vector<ReportPage>& pages, int columns, int lines,
                    const std::string& path) {
  const LoadedWriter& writer = loadedWriter();
  if (writer.writer == nullptr)
    throw std::runtime_error(fmt::format(
        "Não foi possível gravar o relatório em '{}': o gerador de PDF não foi carregado ({}).",
        path, writer.error));
  writer.writer->write(pages, columns, lines, path);
}

void releaseReportFonts() {
  // Nothing to free when no report was written.
  if (loaded.writer != nullptr)
    loaded.writer->releaseFonts();
}

}  // namespace host
