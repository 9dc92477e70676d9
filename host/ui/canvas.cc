#include "host/ui/canvas.h"

#include "host/ui/utf8.h"

namespace ui {

void RecordingCanvas::fillRect(const Rect&) {
  content_.text.clear();
  content_.picture.clear();
  content_.erased = true;
}

void RecordingCanvas::textRect(const Rect& rect, int x, int, const std::string& text) {
  content_.text = text;
  content_.picture.clear();
  content_.erased = false;
  content_.textLeft = x - rect.left;
}

int RecordingCanvas::textWidth(const std::string& text) const {
  return kCharWidth * static_cast<int>(utf8::length(text));
}

void RecordingCanvas::brushCopy(const Rect&, const std::string& picture, const Rect&, Color) {
  content_.picture = picture;
}

}  // namespace ui
