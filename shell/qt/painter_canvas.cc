#include "shell/qt/painter_canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>

#include "shell/qt/color_names.h"
#include "shell/qt/pictures.h"
#include "shell/qt/qt_text.h"

namespace shell {

PainterCanvas::PainterCanvas(QPainter& painter, ui::Color brush, QColor textColor)
    : painter_(painter), brush_(brush), textColor_(textColor) {
}

void PainterCanvas::fillRect(const ui::Rect& rect) {
  painter_.fillRect(toQRect(rect), toQColor(brush_));
}

void PainterCanvas::textRect(const ui::Rect& rect, int x, int y, const std::string& text) {
  const QRect clip = toQRect(rect);
  painter_.save();
  painter_.setClipRect(clip, Qt::IntersectClip);
  painter_.setPen(textColor_);
  const QRect area(x, y, std::max(0, clip.right() + 1 - x), std::max(0, clip.bottom() + 1 - y));
  painter_.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, toQString(text));
  painter_.restore();
}

int PainterCanvas::textWidth(const std::string& text) const {
  return QFontMetrics(painter_.font()).horizontalAdvance(toQString(text));
}

void PainterCanvas::brushCopy(const ui::Rect& dest, const std::string& picture,
                              const ui::Rect& source, ui::Color transparent) {
  const QImage image = pictureNamed(picture);
  if (image.isNull())
    return;
  // Only the part of the source that lies on the picture is copied; the rest of the
  // destination keeps what was painted before.
  const QRect wanted = toQRect(source);
  const QRect part = wanted & image.rect();
  if (part.isEmpty() || dest.width <= 0 || dest.height <= 0)
    return;
  QImage copy = image.copy(part).convertToFormat(QImage::Format_RGB32);
  const QRgb from = toQColor(transparent).rgb();
  const QRgb to = toQColor(brush_).rgb();
  for (int y = 0; y < copy.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(copy.scanLine(y));
    for (int x = 0; x < copy.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == (from & 0xFFFFFF))
        line[x] = to;
    }
  }
  const double scaleX = static_cast<double>(dest.width) / wanted.width();
  const double scaleY = static_cast<double>(dest.height) / wanted.height();
  const QRectF target(dest.left + (part.x() - wanted.x()) * scaleX,
                      dest.top + (part.y() - wanted.y()) * scaleY, part.width() * scaleX,
                      part.height() * scaleY);
  painter_.save();
  painter_.setClipRect(toQRect(dest), Qt::IntersectClip);
  painter_.drawImage(target, copy);
  painter_.restore();
}

}  // namespace shell
