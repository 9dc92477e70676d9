#include "host/ui/static_controls.h"

namespace ui {

void Label::setAlignment(TextAlign alignment) {
  if (alignment_ == alignment)
    return;
  alignment_ = alignment;
  changed(Property::Other);
}

void Image::setPicture(std::string picture) {
  if (picture_ == picture)
    return;
  picture_ = std::move(picture);
  changed(Property::Picture);
}

}  // namespace ui
