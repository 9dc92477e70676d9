// writeReportPdf: the pages of a listing report as a PDF file.
//
// The report engine calls it to print (the file goes to the system's print command) and to save.
// Each page is an A4 sheet in landscape; its lines are set in a fixed-pitch font sized so that
// `columns` characters fill the width and `lines` lines fill the height, so the columns line up
// as in the preview.
#pragma once

#include <string>
#include <vector>

#include "host/report_layout.h"

namespace host {

// Writes the file (replacing one that exists). Throws std::runtime_error with a Portuguese
// message naming the file when it cannot be written.
void writeReportPdf(const std::vector<ReportPage>& pages, int columns, int lines,
                    const std::string& path);

// Frees the font data the writer's font lookups keep for the life of the process. Only for the
// very end of a process whose other parts no longer use fonts (a test run under a leak
// checker): the desktop's toolkit shares that data.
void releaseReportFonts();

}  // namespace host
