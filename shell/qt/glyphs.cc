#include "shell/qt/glyphs.h"

#include <strings.h>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <array>
#include <functional>
#include <utility>

namespace shell {

namespace {

constexpr int kSize = 16;

void arrow(QPainter& p, bool toRight, double x) {
  const double tip = toRight ? x + 5 : x - 5;
  p.drawPolygon(QPolygonF({QPointF(x, 3), QPointF(tip, 8), QPointF(x, 13)}));
}

using Painter = std::function<void(QPainter&)>;

const std::array<std::pair<const char*, Painter>, 15>& painters() {
  static const std::array<std::pair<const char*, Painter>, 15> list = {{
      {"right", [](QPainter& p) { arrow(p, true, 5.5); }},
      {"rightAll",
       [](QPainter& p) {
         arrow(p, true, 2.5);
         arrow(p, true, 8.5);
       }},
      {"left", [](QPainter& p) { arrow(p, false, 10.5); }},
      {"leftAll",
       [](QPainter& p) {
         arrow(p, false, 7.5);
         arrow(p, false, 13.5);
       }},
      {"confirm",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0, 128, 0), 2.5));
         p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(7, 12), QPointF(13, 4)}));
       }},
      {"cancel",
       [](QPainter& p) {
         p.setPen(QPen(QColor(192, 0, 0), 2.5));
         p.drawLine(QPointF(4, 4), QPointF(12, 12));
         p.drawLine(QPointF(12, 4), QPointF(4, 12));
       }},
      {"insert",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0, 96, 0), 2.5));
         p.drawLine(QPointF(8, 3), QPointF(8, 13));
         p.drawLine(QPointF(3, 8), QPointF(13, 8));
       }},
      {"edit",
       [](QPainter& p) {
         p.setPen(QPen(QColor(0, 0, 128), 2));
         p.drawLine(QPointF(4, 12), QPointF(12, 4));
         p.drawLine(QPointF(3, 13), QPointF(5, 13));
       }},
      {"delete",
       [](QPainter& p) {
         p.setPen(QPen(QColor(192, 0, 0), 2.5));
         p.drawLine(QPointF(3, 8), QPointF(13, 8));
       }},
      {"search",
       [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1.5));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QPointF(6.5, 6.5), 3.5, 3.5);
         p.drawLine(QPointF(9, 9), QPointF(13.5, 13.5));
       }},
      {"verify",
       [](QPainter& p) {
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(3.5, 2.5, 9, 11));
         p.drawLine(QPointF(5.5, 6), QPointF(10.5, 6));
         p.drawLine(QPointF(5.5, 9), QPointF(10.5, 9));
       }},
      {"print",
       [](QPainter& p) {
         p.setBrush(Qt::white);
         p.drawRect(QRectF(4.5, 2.5, 7, 4));
         p.setBrush(Qt::gray);
         p.drawRect(QRectF(2.5, 6.5, 11, 5));
         p.setBrush(Qt::white);
         p.drawRect(QRectF(4.5, 9.5, 7, 4));
       }},
      {"help",
       [](QPainter& p) {
         QFont font = p.font();
         font.setBold(true);
         font.setPixelSize(13);
         p.setFont(font);
         p.setPen(QColor(0, 0, 160));
         p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("?"));
       }},
      {"close",
       [](QPainter& p) {
         p.setBrush(QColor(160, 96, 32));
         p.drawRect(QRectF(4.5, 2.5, 7, 11));
         p.setBrush(Qt::black);
         p.drawEllipse(QPointF(9.5, 8), 0.8, 0.8);
       }},
      {"values",
       [](QPainter& p) {
         QFont font = p.font();
         font.setBold(true);
         font.setPixelSize(12);
         p.setFont(font);
         p.setPen(QColor(0, 96, 0));
         p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("$"));
       }},
  }};
  return list;
}

}  // namespace

QIcon glyphNamed(const std::string& name) {
  for (const auto& [known, paint] : painters()) {
    if (strcasecmp(known, name.c_str()) != 0)
      continue;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    paint(painter);
    painter.end();
    return QIcon(pixmap);
  }
  return QIcon();
}

}  // namespace shell
