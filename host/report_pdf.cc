// The PDF writer of the report engine, a library of its own (libhost_pdf.so) that the host
// library loads the first time a report is printed or saved (report_pdf_loader.cc): cairo,
// fontconfig and what they bring stay out of every process that never writes a report.
#include <cairo-pdf.h>
#include <cairo.h>
#include <fmt/format.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "host/report_pdf_entry.h"

namespace host {

namespace {

// A4 landscape in points, with a margin of 1 cm.
constexpr double kPageWidth = 841.89;
constexpr double kPageHeight = 595.28;
constexpr double kMargin = 28.35;
// Line height as a multiple of the font size.
constexpr double kLineSpacing = 1.15;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};

[[noreturn]] void fail(const std::string& path, cairo_status_t status) {
  throw std::runtime_error(fmt::format("Não foi possível gravar o relatório em '{}': {}.", path,
                                       cairo_status_to_string(status)));
}

void writePdf(const std::vector<ReportPage>& pages, int columns, int lines,
              const std::string& path) {
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_pdf_surface_create(path.c_str(), kPageWidth, kPageHeight));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    fail(path, cairo_surface_status(surface.get()));
  std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
  cairo_t* cr = context.get();
  cairo_select_font_face(cr, "monospace", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);

  // The advance of one character per point of size gives the size that fits the columns;
  // it is measured at a large size, where the font's metrics are not rounded.
  constexpr double kMeasureSize = 100;
  cairo_set_font_size(cr, kMeasureSize);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, "M", &extents);
  const double advance = extents.x_advance > 0 ? extents.x_advance / kMeasureSize : 0.6;
  const double usableWidth = kPageWidth - 2 * kMargin;
  const double usableHeight = kPageHeight - 2 * kMargin;
  const double size = std::min(usableWidth / (std::max(columns, 1) * advance),
                               usableHeight / (std::max(lines, 1) * kLineSpacing));
  cairo_set_font_size(cr, size);
  cairo_font_extents_t font;
  cairo_font_extents(cr, &font);

  for (const auto& page : pages) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    double baseline = kMargin + font.ascent;
    for (const auto& line : page) {
      cairo_move_to(cr, kMargin, baseline);
      cairo_show_text(cr, line.c_str());
      baseline += size * kLineSpacing;
    }
    cairo_show_page(cr);
  }
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
    fail(path, cairo_status(cr));
  context.reset();
  cairo_surface_finish(surface.get());
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    fail(path, cairo_surface_status(surface.get()));
}

void releaseFonts() {
  cairo_debug_reset_static_data();
  FcFini();
}

const ReportPdfWriter kWriter{&writePdf, &releaseFonts};

}  // namespace

}  // namespace host

// The writer's one entry, found by the host library when it loads this one.
extern "C" __attribute__((visibility("default"))) const host::ReportPdfWriter*
cpsReportPdfWriter() {
  return &host::kWriter;
}
