#include "shell/qt/glyphs.h"

#include <strings.h>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <functional>
#include <vector>

namespace shell {

namespace {

constexpr int kSize = 16;

void arrow(QPainter& p, bool toRight, double x) {
  const double tip = toRight ? x + 5 : x - 5;
  p.drawPolygon(QPolygonF({QPointF(x, 3), QPointF(tip, 8), QPointF(x, 13)}));
}

using Painter = std::function<void(QPainter&)>;

struct Glyph {
  std::vector<const char*> names;  // the English name first, then the names forms also use
  Painter paint;
};

const std::vector<Glyph>& glyphs() {
  static const std::vector<Glyph> list = {
      {{"right", "direita"}, [](QPainter& p) { arrow(p, true, 5.5); }},
      {{"rightAll", "direita-todos"},
       [](QPainter& p) {
         arrow(p, true, 2.5);
         arrow(p, true, 8.5);
       }},
      {{"left", "esquerda"}, [](QPainter& p) { arrow(p, false, 10.5); }},
      {{"leftAll", "esquerda-todos"},
       [](QPainter& p) {
         arrow(p, false, 7.5);
         arrow(p, false, 13.5);
       }},
      {{"confirm", "confirmar"},
       [](QPainter& p) {
         p.setPen(QPen(QColor(0, 128, 0), 2.5));
         p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(7, 12), QPointF(13, 4)}));
       }},
      {{"cancel", "cancelar"},
       [](QPainter& p) {
         p.setPen(QPen(QColor(192, 0, 0), 2.5));
         p.drawLine(QPointF(4, 4), QPointF(12, 12));
         p.drawLine(QPointF(12, 4), QPointF(4, 12));
       }},
      {{"insert", "incluir"},
       [](QPainter& p) {
         p.setPen(QPen(QColor(0, 96, 0), 2.5));
         p.drawLine(QPointF(8, 3), QPointF(8, 13));
         p.drawLine(QPointF(3, 8), QPointF(13, 8));
       }},
      {{"edit", "alterar"},
       [](QPainter& p) {
         p.setPen(QPen(QColor(0, 0, 128), 2));
         p.drawLine(QPointF(4, 12), QPointF(12, 4));
         p.drawLine(QPointF(3, 13), QPointF(5, 13));
       }},
      {{"delete", "excluir"},
       [](QPainter& p) {
         p.setPen(QPen(QColor(192, 0, 0), 2.5));
         p.drawLine(QPointF(3, 8), QPointF(13, 8));
       }},
      {{"search", "procurar", "pesquisar"},
       [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1.5));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QPointF(6.5, 6.5), 3.5, 3.5);
         p.drawLine(QPointF(9, 9), QPointF(13.5, 13.5));
       }},
      {{"verify", "verificar", "atualizar"},
       [](QPainter& p) {
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(3.5, 2.5, 9, 11));
         p.drawLine(QPointF(5.5, 6), QPointF(10.5, 6));
         p.drawLine(QPointF(5.5, 9), QPointF(10.5, 9));
       }},
      {{"print", "imprimir"},
       [](QPainter& p) {
         p.setBrush(Qt::white);
         p.drawRect(QRectF(4.5, 2.5, 7, 4));
         p.setBrush(Qt::gray);
         p.drawRect(QRectF(2.5, 6.5, 11, 5));
         p.setBrush(Qt::white);
         p.drawRect(QRectF(4.5, 9.5, 7, 4));
       }},
      {{"help", "ajuda"},
       [](QPainter& p) {
         QFont font = p.font();
         font.setBold(true);
         font.setPixelSize(13);
         p.setFont(font);
         p.setPen(QColor(0, 0, 160));
         p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("?"));
       }},
      {{"close", "fechar"},
       [](QPainter& p) {
         p.setBrush(QColor(160, 96, 32));
         p.drawRect(QRectF(4.5, 2.5, 7, 11));
         p.setBrush(Qt::black);
         p.drawEllipse(QPointF(9.5, 8), 0.8, 0.8);
       }},
      {{"preview", "visualizar"},
       [](QPainter& p) {
         p.setBrush(Qt::white);
         p.drawRect(QRectF(2.5, 1.5, 9, 12));
         p.setBrush(Qt::NoBrush);
         p.setPen(QPen(Qt::black, 1.5));
         p.drawEllipse(QPointF(9.5, 9.5), 3, 3);
         p.drawLine(QPointF(11.5, 11.5), QPointF(14.5, 14.5));
       }},
      {{"save", "salvar", "salvar como"},
       [](QPainter& p) {
         p.setBrush(QColor(0, 64, 160));
         p.drawRect(QRectF(2.5, 2.5, 11, 11));
         p.setBrush(Qt::white);
         p.drawRect(QRectF(4.5, 2.5, 7, 4));
       }},
      {{"values", "replicar"},
       [](QPainter& p) {
         QFont font = p.font();
         font.setBold(true);
         font.setPixelSize(12);
         p.setFont(font);
         p.setPen(QColor(0, 96, 0));
         p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("$"));
       }},
  };
  return list;
}

}  // namespace

QIcon glyphNamed(const std::string& name) {
  for (const Glyph& glyph : glyphs()) {
    bool named = false;
    for (const char* known : glyph.names)
      named = named || strcasecmp(known, name.c_str()) == 0;
    if (!named)
      continue;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    glyph.paint(painter);
    painter.end();
    return QIcon(pixmap);
  }
  return QIcon();
}

}  // namespace shell
