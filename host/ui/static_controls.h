// Controls that show something and never take the focus: labels and images.
#pragma once

#include "host/ui/control.h"

namespace ui {

enum class TextAlign { Left, Right, Center };

class Label : public Control {
 public:
  Label(Control* parent, std::string name) : Control(parent, std::move(name)) {}

  // The control a click on the label (or its accelerator) focuses.
  Control* focusControl() const { return focusControl_; }
  void setFocusControl(Control* control) { focusControl_ = control; }
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool autoSize) { autoSize_ = autoSize; }
  TextAlign alignment() const { return alignment_; }
  void setAlignment(TextAlign alignment);

 private:
  Control* focusControl_ = nullptr;
  bool autoSize_ = true;
  TextAlign alignment_ = TextAlign::Left;
};

// An image component; the forms use only its picture, by name.
class Image : public Control {
 public:
  Image(Control* parent, std::string name) : Control(parent, std::move(name)) {}
  const std::string& picture() const { return picture_; }
  void setPicture(std::string picture);

 private:
  std::string picture_;
};

}  // namespace ui
