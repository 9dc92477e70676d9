// Canvas: where a grid draws a cell. The desktop shell paints on a real surface; headless, a
// recording canvas remembers what the cell ends up showing (its text, or the picture drawn
// over it), so tests and scripts can ask a cell what it shows.
#pragma once

#include <cstdint>
#include <string>

#include "host/ui/control.h"

namespace ui {

// Colours as 0x00BBGGRR values, the way the forms compare them (olive is 32896).
using Color = std::uint32_t;

namespace colors {
inline constexpr Color Olive = 32896;
inline constexpr Color White = 0xFFFFFF;
inline constexpr Color Black = 0;
inline constexpr Color Silver = 0xC0C0C0;
inline constexpr Color InfoBk = 0xE1FFFF;
inline constexpr Color Highlight = 0x6A240A;
}  // namespace colors

class Canvas {
 public:
  virtual ~Canvas() = default;
  // The brush the grid has set for the cell (highlight for a selected cell).
  virtual Color brushColor() const = 0;
  virtual void setBrushColor(Color color) = 0;
  virtual void fillRect(const Rect& rect) = 0;
  // Writes `text` inside `rect`, starting at (x, y).
  virtual void textRect(const Rect& rect, int x, int y, const std::string& text) = 0;
  // Width in pixels of `text` in the canvas's font, so a cell can align its text.
  virtual int textWidth(const std::string& text) const = 0;
  // Copies `source` of the named picture to `dest`, with `transparent` replaced by the brush
  // colour.
  virtual void brushCopy(const Rect& dest, const std::string& picture, const Rect& source,
                         Color transparent) = 0;
};

// What a headless cell shows.
struct CellContent {
  std::string text;     // the text left visible
  std::string picture;  // the picture drawn last, if any
  bool erased = false;  // the cell was filled over its text
  int textLeft = 0;     // where the text starts, in the cell's coordinates
};

class RecordingCanvas : public Canvas {
 public:
  static constexpr int kCharWidth = 6;

  explicit RecordingCanvas(Color brush) : brush_(brush) {}
  Color brushColor() const override { return brush_; }
  void setBrushColor(Color color) override { brush_ = color; }
  void fillRect(const Rect& rect) override;
  void textRect(const Rect& rect, int x, int y, const std::string& text) override;
  // Without a font every character counts as kCharWidth pixels.
  int textWidth(const std::string& text) const override;
  void brushCopy(const Rect& dest, const std::string& picture, const Rect& source,
                 Color transparent) override;
  const CellContent& content() const { return content_; }

 private:
  Color brush_;
  CellContent content_;
};

}  // namespace ui
