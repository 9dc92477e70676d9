#include "host/ui/canvas.h"

namespace ui {

void RecordingCanvas::fillRect(const Rect&) {
  content_.text.clear();
  content_.picture.clear();
  content_.erased = true;
}

void RecordingCanvas::textRect(const Rect&, int, int, const std::string& text) {
  content_.text = text;
  content_.picture.clear();
  content_.erased = false;
}

void RecordingCanvas::brushCopy(const Rect&, const std::string& picture, const Rect&, Color) {
  content_.picture = picture;
}

}  // namespace ui
