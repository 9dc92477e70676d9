// Glyphs: the small pictures drawn on speed buttons, by the glyph name a form gives a button.
//
// Known names (case-insensitive): "right", "rightAll", "left", "leftAll" (moving items between
// lists), "confirm", "cancel", "insert", "edit", "delete", "search", "verify", "print", "help",
// "close" and "values" (toolbar commands). Any other name draws nothing, and the button shows
// its caption (or the glyph name when it has no caption).
#pragma once

#include <QIcon>
#include <string>

namespace shell {

// The glyph of that name, or a null icon when the name is unknown.
QIcon glyphNamed(const std::string& name);

}  // namespace shell
