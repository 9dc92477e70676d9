// Colours: the model's 0x00BBGGRR values and colour names, as Qt colours.
//
// Forms name colours the way their designer stored them ("clInfoBk", "clBtnFace", "clWindow",
// "clNavy", ...), or give a value as "$00BBGGRR" or a decimal number. Unknown names read as no
// colour, so the widget keeps its default.
#pragma once

#include <QColor>
#include <optional>
#include <string>

#include "host/ui/canvas.h"

namespace shell {

QColor toQColor(ui::Color color);
ui::Color fromQColor(const QColor& color);

// The colour a name stands for (case-insensitive), or nullopt for an empty or unknown name.
std::optional<ui::Color> colorNamed(const std::string& name);

}  // namespace shell
