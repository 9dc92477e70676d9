// Controls that show something and never take the focus: labels and images.
#pragma once

#include "host/ui/control.h"

namespace ui {

enum class TextAlign { Left, Right, Center };

// The accelerator of a caption: the letter or digit after a lone '&' ("&Filial" gives 'F'),
// in upper case as key codes are; 0 when the caption has none ("&&" is a plain '&').
Key acceleratorOf(const std::string& caption);

class Label : public Control {
 public:
  Label(Control* parent, std::string name) : Control(parent, std::move(name)) {}

  // The control the label's accelerator (Alt and the letter after '&') focuses.
  Control* focusControl() const { return focusControl_; }
  void setFocusControl(Control* control) { focusControl_ = control; }
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool autoSize) { autoSize_ = autoSize; }
  TextAlign alignment() const { return alignment_; }
  void setAlignment(TextAlign alignment);
  // Whether a lone '&' in the caption marks an accelerator (on by default); off, the caption
  // shows as it is (a label showing data).
  bool showAccelChar() const { return showAccelChar_; }
  void setShowAccelChar(bool show);

 private:
  Control* focusControl_ = nullptr;
  bool showAccelChar_ = true;
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
