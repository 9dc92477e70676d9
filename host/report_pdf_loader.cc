// writeReportPdf and releaseReportFonts through the PDF writer's library (libhost_pdf.so,
// next to this one), loaded the first time a report is written: its cairo and fontconfig,
// with the X11, freetype and pixman libraries they bring, touch about 1.8 MB of pages as they
// load, which a process that never prints a report does not need.
#include <dlfcn.h>
#include <fmt/format.h>

#include <mutex>
#include <stdexcept>

#include "host/report_pdf.h"
#include "host/report_pdf_entry.h"

namespace host {

namespace {

// The folder this library was loaded from, with its final slash; empty when unknown.
std::string ownFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&writeReportPdf), &info) == 0 ||
      info.dli_fname == nullptr)
    return {};
  const std::string path = info.dli_fname;
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

struct LoadedWriter {
  const ReportPdfWriter* writer = nullptr;
  std::string error;
};

std::once_flag loadOnce;
LoadedWriter loaded;

const LoadedWriter& loadedWriter() {
  std::call_once(loadOnce, [] {
    const std::string path = ownFolder() + kReportPdfLibrary;
    // Never closed: fontconfig and cairo keep data of their own until the process ends.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = library ? dlsym(library, kReportPdfEntry) : nullptr;
    if (entry == nullptr) {
      const char* why = dlerror();
      loaded.error = why ? why : path;
      return;
    }
    loaded.writer = reinterpret_cast<const ReportPdfWriter* (*)()>(entry)();
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
