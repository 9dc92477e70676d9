// Buttons: speed buttons (toolbar buttons that never take the focus, so a click leaves the
// active control where it is) and radio buttons (checking one unchecks its siblings in the
// same container).
#pragma once

#include "host/ui/control.h"

namespace ui {

class SpeedButton : public Control {
 public:
  SpeedButton(Control* parent, std::string name) : Control(parent, std::move(name)) {}
  bool flat() const { return flat_; }
  void setFlat(bool flat) { flat_ = flat; }
  // Name of the glyph drawn on the button.
  const std::string& glyph() const { return glyph_; }
  void setGlyph(std::string glyph);

 private:
  bool flat_ = false;
  std::string glyph_;
};

class RadioButton : public Control {
 public:
  RadioButton(Control* parent, std::string name) : Control(parent, std::move(name)) {
    setTabStop(true);
  }
  bool acceptsFocus() const override { return true; }
  bool checked() const { return checked_; }
  // Checking unchecks the other radio buttons of the same container. Runs no click event.
  void setChecked(bool checked);
  void clickDefault() override { setChecked(true); }

 private:
  bool checked_ = false;
};

}  // namespace ui
