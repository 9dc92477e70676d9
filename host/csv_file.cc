#include "host/csv_file.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace host {

namespace {

void appendField(std::string& out, const std::string& field) {
  if (field.find_first_of(";\"\r\n") == std::string::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

void appendLine(std::string& out, const CsvRow& row) {
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (i > 0)
      out += ';';
    appendField(out, row[i]);
  }
  out += "\r\n";
}

}  // namespace

std::string csvText(const CsvRow& header, const std::vector<CsvRow>& rows) {
  std::string out = "\xEF\xBB\xBF";
  appendLine(out, header);
  for (const auto& row : rows)
    appendLine(out, row);
  return out;
}

std::string csvNumber(double value) {
  // The shortest digits that read back the same, never in exponent form.
  std::array<char, 400> digits{};
  const auto [end, error] =
      std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
  std::string text = error == std::errc() ? std::string(digits.data(), end) : std::string();
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

void writeCsvFile(const std::string& path, const CsvRow& header, const std::vector<CsvRow>& rows) {
  const std::string text = csvText(header, rows);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out)
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    throw std::runtime_error(
        fmt::format("Não foi possível gravar o arquivo '{}': {}.", path, std::strerror(errno)));
  }
}

}  // namespace host
