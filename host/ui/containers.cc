#include "host/ui/containers.h"

#include <algorithm>

namespace ui {

void Panel::setBevels(Bevel inner, Bevel outer) {
  bevelInner_ = inner;
  bevelOuter_ = outer;
  changed(Property::Other);
  realign();
}

void Panel::setBorderWidth(int width) {
  borderWidth_ = width;
  changed(Property::Other);
  realign();
}

Rect Panel::clientArea() const {
  int inset = borderWidth_;
  if (bevelInner_ != Bevel::None)
    ++inset;
  if (bevelOuter_ != Bevel::None)
    ++inset;
  return Rect{inset, inset, std::max(0, bounds().width - 2 * inset),
              std::max(0, bounds().height - 2 * inset)};
}

Rect GroupBox::clientArea() const {
  // The caption line on top and a thin frame around.
  return Rect{2, 15, std::max(0, bounds().width - 4), std::max(0, bounds().height - 17)};
}

}  // namespace ui
