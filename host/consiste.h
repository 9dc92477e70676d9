// Consiste: the host's consistency routines, shared by every form of the module.
//
// Error display with the silent abort (MensErro), the check of a server answer
// (CheckResultServ), code and text helpers (EmptyString, Ajusta, PictPess), grid helpers
// (IndiceCol, GridText), rounding and the host's date mask and date typing. Called by the form
// handlers on the user-interface thread.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "host/db/db_grid.h"
#include "host/db/field.h"
#include "packet/remote_call.h"

namespace Consiste {

// A failure reported by the application server; the text is the server's message.
class ServerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Shows `text` as an error message; with `abort` it then raises the silent abort (ui::Abort),
// which ends the operation under way without a second message.
void MensErro(const std::string& text, bool abort);

// The packet of a good result (an empty packet when the answer carries none). A failed result
// raises ServerError with the server's message when `raise` is set; otherwise it gives an
// empty packet. The last argument is kept for the callers' sake and means nothing here.
packet::Packet CheckResultServ(const packet::CallResult& result, bool raise, int unused = 0);
// The same for a result no longer needed: its packet is moved out, not copied (an answer of a
// large service holds millions of values).
packet::Packet CheckResultServ(packet::CallResult&& result, bool raise, int unused = 0);

// True for an empty text or one of blanks only.
bool EmptyString(std::string_view text);

// The code with blanks around it removed and, when shorter than `width` characters, leading
// zeros up to it ("1" to width 4 is "0001"). A code of that width or longer is unchanged; an
// empty code stays empty, so no code is ever made up.
std::string Ajusta(std::string_view code, int width);

// The edit mask of an inscription for the person type: "F" (person) "999.999.999-99;0;_",
// "J" (company) "99.999.999/9999-99;0;_", anything else none. Blanks and case are ignored.
std::string PictPess(std::string_view personType);

// Index of the grid column showing the field (case-insensitive), -1 when none.
int IndiceCol(const db::DBGrid& grid, const std::string& fieldName);

// Rounds half away from zero to `decimals` decimals.
double RoundDec(double value, int decimals);

// The host's date mask.
std::string DateMask();

// Stores a typed date into a date field: an empty or blank text stores null; a text that is not
// a date raises ui::UiError with the regional message and leaves the field as it was.
void DateSetText(db::Field& field, const std::string& text);

// The text in the grid's selected cell as it is being typed (the in-place editor's text), or
// the cell's edit text when nothing is being typed.
std::string GridText(const db::DBGrid& grid);

}  // namespace Consiste
