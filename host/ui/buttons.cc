#include "host/ui/buttons.h"

namespace ui {

void SpeedButton::setGlyph(std::string glyph) {
  if (glyph_ == glyph)
    return;
  glyph_ = std::move(glyph);
  changed(Property::Picture);
}

void RadioButton::setChecked(bool checked) {
  if (checked_ == checked)
    return;
  checked_ = checked;
  changed(Property::Checked);
  if (!checked || parent() == nullptr)
    return;
  for (Control* sibling : parent()->children()) {
    if (auto* radio = dynamic_cast<RadioButton*>(sibling); radio != nullptr && radio != this) {
      radio->setChecked(false);
    }
  }
}

}  // namespace ui
