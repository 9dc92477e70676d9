// PainterCanvas: the model's cell canvas on a QPainter, so a grid's DrawColumnCell handler
// paints the real cell.
//
// Coordinates are the painter's (the cell rectangle handed to the handler is the one painted).
// Text is written in one line from (x, y), clipped to its rectangle, and measured in the
// painter's font; a brush copy draws a named
// picture (see pictures.h) one to one, with its transparent colour replaced by the brush.
#pragma once

#include <QColor>
#include <QPainter>

#include "host/ui/canvas.h"

namespace shell {

class PainterCanvas : public ui::Canvas {
 public:
  PainterCanvas(QPainter& painter, ui::Color brush, QColor textColor);

  ui::Color brushColor() const override { return brush_; }
  void setBrushColor(ui::Color color) override { brush_ = color; }
  void fillRect(const ui::Rect& rect) override;
  void textRect(const ui::Rect& rect, int x, int y, const std::string& text) override;
  int textWidth(const std::string& text) const override;
  void brushCopy(const ui::Rect& dest, const std::string& picture, const ui::Rect& source,
                 ui::Color transparent) override;

 private:
  QPainter& painter_;
  ui::Color brush_;
  QColor textColor_;
};

}  // namespace shell
