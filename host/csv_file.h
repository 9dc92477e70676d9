// Tables written for spreadsheets, as Brazilian ones expect them: UTF-8 with its byte-order
// mark (so accents open right), fields separated by ';', numbers with the decimal comma and no
// thousands separator, lines ended by CR LF. A field holding ';', a quote or a line break is
// quoted, its quotes doubled.
#pragma once

#include <string>
#include <vector>

namespace host {

using CsvRow = std::vector<std::string>;

// The whole file's text: the header line, then one line per row.
std::string csvText(const CsvRow& header, const std::vector<CsvRow>& rows);
// A number as a spreadsheet reads it: "1234,5".
std::string csvNumber(double value);
// Writes the file, replacing one that exists; throws std::runtime_error (in Portuguese) when it
// cannot be written.
void writeCsvFile(const std::string& path, const CsvRow& header, const std::vector<CsvRow>& rows);

}  // namespace host
