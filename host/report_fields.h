// What the spreadsheet and the page layout of a listing report both read from a definition and
// its rows: the fields it names, the names inside the "{...}" of its texts, and an inscription
// shown with the mask of its person type.
#pragma once

#include <string>
#include <vector>

#include "host/db/data_set.h"
#include "host/report_definition.h"

namespace host {

// The field `name` of `rows`; throws ReportDefinitionError, naming the definition's file, when
// the query does not bring it.
const db::Field& reportField(const ReportDefinition& definition, const db::DataSet& rows,
                             const std::string& name);

// The names inside "{...}" of `text`, in order, repeats included; an unclosed "{" ends the list.
std::vector<std::string> placeholders(const std::string& text);

// `value` with the mask of the person type `personType` holds ("F" or "J"); an empty value
// stays empty.
std::string inscriptionText(const std::string& value, const db::Field& personType);

}  // namespace host
