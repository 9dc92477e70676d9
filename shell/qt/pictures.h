// Pictures the forms paint by name on a grid canvas.
//
// "imgChecked" and "imgUnchecked" are the 16 x 16 flag boxes of the data grids: an olive
// background (the colour a brush copy replaces by the cell's brush), a white 9 x 9 box with a
// black edge along its top and left side and a silver shadow line just off its right and bottom
// side; the checked one carries a black check mark.
#pragma once

#include <QImage>
#include <string>

namespace shell {

// The picture of that name, or a null image for an unknown name.
QImage pictureNamed(const std::string& name);

}  // namespace shell
