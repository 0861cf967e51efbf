// A picture is something that draws itself into a rectangle and has a natural size. The skin
// paints them with GDI at any size, so one picture serves every DPI and every stretch.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "widgets/win32/gdi.h"

namespace corrivo::ui::win32 {

struct Picture {
  Size size;
  std::function<void(HDC, const RECT&)> draw;
  bool Empty() const { return !draw; }
};
using PictureRef = std::shared_ptr<const Picture>;
using PictureList = std::vector<PictureRef>;

PictureRef MakePicture(Size size, std::function<void(HDC, const RECT&)> draw);
// Draws the picture into `r` (nothing for a null or empty picture).
void DrawPicture(HDC dc, const PictureRef& picture, const RECT& r);

// Pictures a control draws over its own paint, in its client coordinates: decoration that
// nothing clicks or reads needs no window of its own (each window costs start-up time).
class Overlays {
 public:
  // False when the picture already lies there (nothing to repaint).
  bool Set(std::size_t index, PictureRef picture, const Rect& at);
  // Draws each picture at its place moved by `offset` (for a window inside the one they lie on).
  void Draw(HDC dc, Point offset = {}) const;
  bool Empty() const { return items_.empty(); }

 private:
  std::vector<std::pair<PictureRef, Rect>> items_;
};

}  // namespace corrivo::ui::win32
