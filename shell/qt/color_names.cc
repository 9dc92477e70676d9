#include "shell/qt/color_names.h"

#include <strings.h>

#include <array>
#include <charconv>
#include <utility>

namespace shell {

namespace {

// The standard colours, and the system colours of a light desktop theme.
constexpr std::array<std::pair<const char*, ui::Color>, 40> kNamed = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clInfoBk", ui::colors::InfoBk},
    {"clInfoText", 0x000000},
    {"clBtnFace", 0xF0F0F0},
    {"clWindow", 0xFFFFFF},
    {"clWindowText", 0x000000},
    {"clHighlight", ui::colors::Highlight},
    {"clHighlightText", 0xFFFFFF},
    {"clBtnText", 0x000000},
    {"clGrayText", 0x6D6D6D},
    {"clBtnShadow", 0xA0A0A0},
    {"clBtnHighlight", 0xFFFFFF},
    {"cl3DLight", 0xE3E3E3},
    {"cl3DDkShadow", 0x696969},
    {"clAppWorkSpace", 0xABABAB},
    {"clMenu", 0xF0F0F0},
    {"clMenuText", 0x000000},
    {"clActiveCaption", 0xD1B499},
    {"clInactiveCaption", 0xDBCDBF},
    {"clCaptionText", 0x000000},
    {"clScrollBar", 0xC8C8C8},
}};

std::optional<ui::Color> parseNumber(const std::string& text, int base) {
  if (text.empty())
    return std::nullopt;
  unsigned long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size() || value > 0xFFFFFFul)
    return std::nullopt;
  return static_cast<ui::Color>(value);
}

}  // namespace

QColor toQColor(ui::Color color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

ui::Color fromQColor(const QColor& color) {
  return static_cast<ui::Color>(color.red()) | static_cast<ui::Color>(color.green()) << 8 |
         static_cast<ui::Color>(color.blue()) << 16;
}

std::optional<ui::Color> colorNamed(const std::string& name) {
  for (const auto& [known, value] : kNamed) {
    if (strcasecmp(known, name.c_str()) == 0)
      return value;
  }
  if (!name.empty() && name.front() == '$')
    return parseNumber(name.substr(1), 16);
  return parseNumber(name, 10);
}

}  // namespace shell
