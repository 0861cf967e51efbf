#include "widgets/win32/pictures.h"

namespace corrivo::ui::win32 {

PictureRef MakePicture(Size size, std::function<void(HDC, const RECT&)> draw) {
  auto p = std::make_shared<Picture>();
  p->size = size;
  p->draw = std::move(draw);
  return p;
}

void DrawPicture(HDC dc, const PictureRef& picture, const RECT& r) {
  if (!picture || picture->Empty() || r.right <= r.left || r.bottom <= r.top) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  picture->draw(dc, r);
  RestoreDC(dc, saved);
}

}  // namespace corrivo::ui::win32
