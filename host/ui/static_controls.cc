#include "host/ui/static_controls.h"

namespace ui {

Key acceleratorOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&')
      continue;
    const char next = caption[i + 1];
    if (next == '&') {
      ++i;
      continue;
    }
    if (next >= 'a' && next <= 'z')
      return next - 'a' + 'A';
    if ((next >= 'A' && next <= 'Z') || (next >= '0' && next <= '9'))
      return next;
    return 0;
  }
  return 0;
}

void Label::setAlignment(TextAlign alignment) {
  if (alignment_ == alignment)
    return;
  alignment_ = alignment;
  changed(Property::Other);
}

void Label::setShowAccelChar(bool show) {
  if (showAccelChar_ == show)
    return;
  showAccelChar_ = show;
  changed(Property::Caption);
}

void Image::setPicture(std::string picture) {
  if (picture_ == picture)
    return;
  picture_ = std::move(picture);
  changed(Property::Picture);
}

}  // namespace ui
