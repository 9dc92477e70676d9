// Tabvalid: validation of a typed hierarchical code (the product code) against its picture.
//
// ValidEx rewrites the code in the picture's form ("101001" or "1.1.1" become "1.01.001" for
// the picture "9.99.999") and, by option, requires every level to be filled or the code to be
// a row of the data source's list. Called by the product checks of the forms.
#pragma once

#include <string>

#include "host/db/data_source.h"

namespace Tabvalid {

// Members of the option set; combine with |.
enum TValidOption : unsigned {
  voExiste = 1u << 0,         // the code must be a row of the data source's data set
  voNivelCompleto = 1u << 1,  // the code must fill every level of the picture
};
using TValidOptions = unsigned;

// Normalises `code` to the picture of `pictureKind` (Quendra::DBPict) and checks the options.
// `keyField` names the field of the data source's data set that holds the codes (voExiste;
// empty means "CDARVPROD"). On success `code` is rewritten and true returned. On failure
// `code` is left as typed and, when `raise` is set, ui::UiError is raised with a Portuguese
// message; otherwise false is returned.
bool ValidEx(db::DataSource* source, int pictureKind, std::string& code, TValidOptions options,
             const std::string& keyField, bool raise);

}  // namespace Tabvalid
