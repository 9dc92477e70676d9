#include "host/report_layout.h"

#include <fmt/format.h>

#include <cmath>
#include <functional>
#include <map>

#include "host/db/field.h"
#include "host/report_fields.h"
#include "host/ui/regional.h"
#include "host/ui/utf8.h"

namespace host {

namespace {

namespace utf8 = ui::utf8;

int length(std::string_view text) {
  return static_cast<int>(utf8::length(text));
}

std::string spaces(int count) {
  return std::string(static_cast<std::size_t>(std::max(count, 0)), ' ');
}

std::string fit(const std::string& text, int width, bool right) {
  const int size = length(text);
  if (size > width)
    return utf8::substr(text, 0, static_cast<std::size_t>(width));
  return right ? spaces(width - size) + text : text + spaces(width - size);
}

std::string trimRight(std::string line) {
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

// `left` and `right` on one line of `width`, the left text cut when both do not fit.
std::string spread(const std::string& left, const std::string& right, int width) {
  const int room = width - length(right) - 1;
  return fit(left, std::max(room, 0), false) + " " + right;
}

struct Column {
  const ReportColumn* spec;
  const db::Field* field;
  const db::Field* personType;  // Inscription only
  int start;                    // character position in the line
};

std::string valueText(const Column& column) {
  const db::Field& field = *column.field;
  switch (column.spec->kind) {
    case ColumnKind::Text:
      return field.asString();
    case ColumnKind::Number:
      return field.isNull() ? std::string()
                            : ui::regional::formatFloat(column.spec->format, field.asFloat());
    case ColumnKind::Date:
      return field.isNull() || field.asFloat() == 0
                 ? std::string()
                 : ui::regional::formatDate(std::floor(field.asFloat()));
    case ColumnKind::Inscription:
      return inscriptionText(field.asString(), *column.personType);
  }
  return {};
}

// A value in its column: a number that does not fit shows as "#", never cut.
std::string cellText(const Column& column, const std::string& text) {
  const int width = column.spec->width;
  if (column.spec->kind == ColumnKind::Number && length(text) > width)
    return std::string(static_cast<std::size_t>(width), '#');
  return fit(text, width, column.spec->rightAligned);
}

std::string fill(const std::string& text,
                 const std::function<std::string(const std::string&)>& value) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find('{', at);
    const std::size_t close = open == std::string::npos ? open : text.find('}', open + 1);
    if (close == std::string::npos) {
      out.append(text, at, std::string::npos);
      break;
    }
    out.append(text, at, open - at);
    out += value(text.substr(open + 1, close - open - 1));
    at = close + 1;
  }
  return out;
}

enum class LineKind { Header, Detail, Footer, Summary, Blank };

struct BodyLine {
  LineKind kind;
  int level;
  std::string text;
};

// An open grouping level: its key, the field values its footer shows, its count and totals.
struct OpenGroup {
  std::string key;
  std::map<std::string, std::string> footerValues;
  int count = 0;
  std::vector<double> totals;
};

class Layout {
 public:
  Layout(const ReportDefinition& definition, const db::DataSet& rows)
      : definition_(definition), rows_(rows) {
    int position = definition.detailIndent();
    for (const auto& spec : definition.columns) {
      const db::Field* personType = spec.kind == ColumnKind::Inscription
                                        ? &reportField(definition, rows, spec.personType)
                                        : nullptr;
      columns_.push_back({&spec, &reportField(definition, rows, spec.field), personType, position});
      position += spec.width + 1;
    }
    for (const auto& group : definition.groups)
      groupFields_.push_back(&reportField(definition, rows, group.field));
    checkPlaceholders();
  }

  std::vector<BodyLine> body() {
    for (int row = 0; row < rows_.viewRowCount(); ++row)
      rows_.readRow(row, [&] { addRow(); });
    closeGroups(0);
    if (!definition_.summary.empty()) {
      if (!lines_.empty())
        lines_.push_back({LineKind::Blank, 0, {}});
      const std::map<std::string, std::string> none;
      lines_.push_back({LineKind::Summary, 0, totalsLine(0, definition_.summary, none, grand_)});
    }
    return std::move(lines_);
  }

  std::string titles() const {
    std::string line = spaces(definition_.detailIndent());
    for (const auto& column : columns_) {
      line += fit(column.spec->title, column.spec->width, column.spec->rightAligned);
      line += ' ';
    }
    return trimRight(line);
  }

 private:
  void checkPlaceholders() const {
    auto check = [&](const std::string& text) {
      for (const auto& name : placeholders(text)) {
        if (name != "count")
          reportField(definition_, rows_, name);
      }
    };
    for (const auto& group : definition_.groups) {
      check(group.header);
      check(group.footer);
    }
    check(definition_.summary);
  }

  // A field's text as the report shows it: like its column when it has one.
  std::string fieldText(const std::string& name) const {
    for (const auto& column : columns_) {
      if (column.spec->field == name)
        return valueText(column);
    }
    return rows_.fieldByName(name).text();
  }

  void addRow() {
    std::size_t changed = open_.size();
    for (std::size_t level = 0; level < open_.size(); ++level) {
      if (open_[level].key != groupFields_[level]->asString()) {
        changed = level;
        break;
      }
    }
    closeGroups(changed);
    for (std::size_t level = changed; level < groupFields_.size(); ++level)
      openGroup(level);

    std::string line = spaces(definition_.detailIndent());
    std::vector<double> values;
    for (const auto& column : columns_) {
      line += cellText(column, valueText(column)) + ' ';
      values.push_back(column.spec->total ? column.field->asFloat() : 0);
    }
    lines_.push_back({LineKind::Detail, static_cast<int>(groupFields_.size()), trimRight(line)});
    add(grand_, values);
    for (auto& group : open_)
      add(group, values);
  }

  static void add(OpenGroup& group, const std::vector<double>& values) {
    ++group.count;
    group.totals.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
      group.totals[i] += values[i];
  }

  void openGroup(std::size_t level) {
    const ReportGroup& spec = definition_.groups[level];
    if (level == 0 && !lines_.empty())
      lines_.push_back({LineKind::Blank, 0, {}});
    OpenGroup group;
    group.key = groupFields_[level]->asString();
    for (const auto& name : placeholders(spec.footer)) {
      if (name != "count")
        group.footerValues[name] = fieldText(name);
    }
    const int indent = 2 * static_cast<int>(level);
    lines_.push_back({LineKind::Header, static_cast<int>(level),
                      trimRight(spaces(indent) + fill(spec.header, [&](const std::string& name) {
                                  return name == "count" ? std::string() : fieldText(name);
                                }))});
    open_.push_back(std::move(group));
  }

  // Ends the open levels from the innermost down to `level`, each with its footer.
  void closeGroups(std::size_t level) {
    while (open_.size() > level) {
      const std::size_t inner = open_.size() - 1;
      const ReportGroup& spec = definition_.groups[inner];
      if (!spec.footer.empty()) {
        const int indent = 2 * static_cast<int>(inner);
        lines_.push_back(
            {LineKind::Footer, static_cast<int>(inner),
             totalsLine(indent, spec.footer, open_[inner].footerValues, open_[inner])});
      }
      open_.pop_back();
    }
  }

  // A footer or summary: its text from `indent`, the totals under their columns.
  std::string totalsLine(int indent, const std::string& text,
                         const std::map<std::string, std::string>& values,
                         const OpenGroup& group) const {
    const std::string label = fill(text, [&](const std::string& name) {
      if (name == "count")
        return std::to_string(group.count);
      const auto found = values.find(name);
      return found != values.end() ? found->second : std::string();
    });
    int labelRoom = definition_.pageWidth - indent;
    for (const auto& column : columns_) {
      if (column.spec->total) {
        labelRoom = column.start - indent - 1;
        break;
      }
    }
    std::string line = spaces(indent) + fit(label, std::max(labelRoom, 0), false);
    int position = indent + std::max(labelRoom, 0);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const Column& column = columns_[i];
      if (!column.spec->total)
        continue;
      const double total = i < group.totals.size() ? group.totals[i] : 0;
      line += spaces(column.start - position);
      line += cellText(column, ui::regional::formatFloat(column.spec->format, total));
      position = column.start + column.spec->width;
    }
    return trimRight(line);
  }

  const ReportDefinition& definition_;
  const db::DataSet& rows_;
  std::vector<Column> columns_;
  std::vector<const db::Field*> groupFields_;
  std::vector<OpenGroup> open_;
  OpenGroup grand_;
  std::vector<BodyLine> lines_;
};

// Splits the body into pages of `capacity` lines (see the header comment for the rules).
std::vector<std::vector<std::string>> paginate(const std::vector<BodyLine>& lines,
                                               std::size_t groups, int capacity) {
  std::vector<std::vector<std::string>> pages(1);
  std::vector<std::string> openHeaders(groups);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const BodyLine& line = lines[i];
    if (line.kind == LineKind::Header) {
      openHeaders[static_cast<std::size_t>(line.level)] = line.text;
      for (std::size_t deeper = static_cast<std::size_t>(line.level) + 1; deeper < groups; ++deeper)
        openHeaders[deeper].clear();
    }
    // A blank line only separates: never at the top or the foot of a page.
    if (line.kind == LineKind::Blank &&
        (pages.back().empty() || static_cast<int>(pages.back().size()) + 2 > capacity)) {
      continue;
    }
    int need = 1;
    if (line.kind == LineKind::Header) {
      std::size_t end = i;
      while (end < lines.size() && lines[end].kind == LineKind::Header)
        ++end;
      need = static_cast<int>(end - i) + (end < lines.size() ? 1 : 0);
    }
    if (static_cast<int>(pages.back().size()) + need > capacity) {
      pages.emplace_back();
      std::size_t repeat = groups;
      if (line.kind == LineKind::Header)
        repeat = static_cast<std::size_t>(line.level);
      else if (line.kind == LineKind::Footer)
        repeat = static_cast<std::size_t>(line.level) + 1;
      else if (line.kind == LineKind::Summary)
        repeat = 0;
      for (std::size_t level = 0; level < repeat; ++level) {
        if (!openHeaders[level].empty())
          pages.back().push_back(openHeaders[level] + " (continuação)");
      }
    }
    pages.back().push_back(line.text);
    if (line.kind == LineKind::Footer) {
      for (std::size_t level = static_cast<std::size_t>(line.level); level < groups; ++level)
        openHeaders[level].clear();
    }
  }
  return pages;
}

}  // namespace

std::vector<ReportPage> layoutReport(const ReportDefinition& definition, const db::DataSet& rows,
                                     const ReportHeading& heading) {
  Layout layout(definition, rows);
  const auto body = layout.body();
  const auto bodies =
      paginate(body, definition.groups.size(), definition.pageLines - kReportHeadingLines);
  const int width = definition.pageWidth;
  const std::string emission = "Emissão: " + ui::regional::formatDate(heading.date);
  std::vector<ReportPage> pages;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    ReportPage page;
    page.push_back(trimRight(spread(heading.title, emission, width)));
    page.push_back(trimRight(
        spread(heading.code, fmt::format("Página {} de {}", i + 1, bodies.size()), width)));
    page.push_back(std::string(static_cast<std::size_t>(width), '='));
    page.push_back(layout.titles());
    page.push_back(std::string(static_cast<std::size_t>(width), '-'));
    page.insert(page.end(), bodies[i].begin(), bodies[i].end());
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace host
