// Containers: panels, scroll boxes and group boxes. They hold and lay out other controls and
// fire enter and exit events when the focus enters or leaves them, but never hold the focus
// themselves.
#pragma once

#include "host/ui/control.h"

namespace ui {

enum class Bevel { None, Lowered, Raised };

class Panel : public Control {
 public:
  Panel(Control* parent, std::string name) : Control(parent, std::move(name)) {}

  Bevel bevelInner() const { return bevelInner_; }
  Bevel bevelOuter() const { return bevelOuter_; }
  void setBevels(Bevel inner, Bevel outer);
  int borderWidth() const { return borderWidth_; }
  void setBorderWidth(int width);
  Rect clientArea() const override;

 private:
  Bevel bevelInner_ = Bevel::None;
  Bevel bevelOuter_ = Bevel::Raised;
  int borderWidth_ = 0;
};

class ScrollBox : public Control {
 public:
  ScrollBox(Control* parent, std::string name) : Control(parent, std::move(name)) {}
  bool borderless() const { return borderless_; }
  void setBorderless(bool borderless) { borderless_ = borderless; }

 private:
  bool borderless_ = false;
};

class GroupBox : public Control {
 public:
  GroupBox(Control* parent, std::string name) : Control(parent, std::move(name)) {}
  Rect clientArea() const override;
};

}  // namespace ui
