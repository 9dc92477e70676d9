// Text and geometry conversions between the toolkit model and Qt.
//
// The model keeps UTF-8 strings and its own rectangles; Qt wants QString and QRect. Captions
// carry '&' accelerators the way the forms write them ("&Valor do Serviço"): widgets that
// show no mnemonic show the caption without them.
#pragma once

#include <QRect>
#include <QString>
#include <string>

#include "host/ui/control.h"

namespace shell {

inline QString toQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string fromQString(const QString& text) {
  return text.toUtf8().toStdString();
}

inline QRect toQRect(const ui::Rect& rect) {
  return QRect(rect.left, rect.top, rect.width, rect.height);
}

inline ui::Rect fromQRect(const QRect& rect) {
  return ui::Rect{rect.x(), rect.y(), rect.width(), rect.height()};
}

// The caption as a label without mnemonics shows it: "&&" is one '&', a lone '&' is dropped.
QString plainCaption(const std::string& caption);
// The caption as rich text with its accelerator (the character after a lone '&') underlined;
// empty when the caption has none.
QString acceleratorHtml(const std::string& caption);

// The model's text with line breaks as Qt writes them ("\r\n" becomes "\n").
QString multiLineText(const std::string& text);

}  // namespace shell
