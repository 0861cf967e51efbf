#include "widgets/win32/image_rect.h"

namespace corrivo::ui::win32 {

bool ImageRect::CreateAs(const wchar_t* className, HWND parent, int id, const std::wstring& name,
                         const Rect& r, COLORREF background, PictureList pictures) {
  RegisterControlClass(className);
  background_ = background;
  pictures_ = std::move(pictures);
  return CreateWindowFor(className, parent, id, name, r, WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

bool ImageRect::Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF background,
                       PictureList pictures, std::vector<PictureItem> items) {
  items_ = std::move(items);
  return CreateAs(L"TImageRect", parent, id, name, r, background, std::move(pictures));
}

void ImageRect::Paint(HDC dc, const RECT& client) {
  FillSolid(dc, client, background_);
  const Size widget{client.right - client.left, client.bottom - client.top};
  for (const PictureItem& item : PaintedItems()) {
    if (!item.visible || item.picture < 0 || item.picture >= static_cast<int>(pictures_.size())) continue;
    const PictureRef& p = pictures_[static_cast<std::size_t>(item.picture)];
    if (!p || p->Empty()) continue;
    DrawPicture(dc, p, ToRECT(PictureDestination(item, widget, p->size)));
  }
}

}  // namespace corrivo::ui::win32
