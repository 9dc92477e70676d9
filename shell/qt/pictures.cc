#include "shell/qt/pictures.h"

#include "shell/qt/color_names.h"

namespace shell {

namespace {

constexpr int kSize = 16;
constexpr int kBoxLeft = 3;  // the box covers columns and rows 3..11
constexpr int kBoxSize = 9;

// The check mark inside the box, one row per string, starting one pixel inside its edge.
constexpr const char* kCheckMark[] = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};

QImage flagBox(bool checked) {
  QImage image(kSize, kSize, QImage::Format_RGB32);
  image.fill(toQColor(ui::colors::Olive));
  const QRgb white = toQColor(ui::colors::White).rgb();
  const QRgb black = toQColor(ui::colors::Black).rgb();
  const QRgb silver = toQColor(ui::colors::Silver).rgb();
  const int last = kBoxLeft + kBoxSize - 1;
  for (int y = kBoxLeft; y <= last; ++y) {
    for (int x = kBoxLeft; x <= last; ++x)
      image.setPixel(x, y, x == kBoxLeft || y == kBoxLeft ? black : white);
  }
  for (int i = kBoxLeft + 1; i <= last + 1; ++i) {
    image.setPixel(last + 1, i, silver);
    image.setPixel(i, last + 1, silver);
  }
  if (checked) {
    for (int row = 0; row < 7; ++row) {
      for (int col = 0; col < 7; ++col) {
        if (kCheckMark[row][col] == '#')
          image.setPixel(kBoxLeft + 1 + col, kBoxLeft + 1 + row, black);
      }
    }
  }
  return image;
}

}  // namespace

QImage pictureNamed(const std::string& name) {
  static const QImage checked = flagBox(true);
  static const QImage unchecked = flagBox(false);
  if (name == "imgChecked")
    return checked;
  if (name == "imgUnchecked")
    return unchecked;
  return QImage();
}

}  // namespace shell
