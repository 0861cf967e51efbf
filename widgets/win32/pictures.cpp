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

bool Overlays::Set(std::size_t index, PictureRef picture, const Rect& at) {
  if (items_.size() <= index) items_.resize(index + 1);
  auto& item = items_[index];
  if (item.first == picture && item.second == at) return false;
  item = {std::move(picture), at};
  return true;
}

void Overlays::Draw(HDC dc, Point offset) const {
  for (const auto& [picture, at] : items_) {
    DrawPicture(dc, picture, ToRECT({at.left + offset.x, at.top + offset.y, at.width, at.height}));
  }
}

}  // namespace corrivo::ui::win32
