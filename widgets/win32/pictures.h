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

}  // namespace corrivo::ui::win32
