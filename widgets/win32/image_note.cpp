#include "widgets/win32/image_note.h"

namespace corrivo::ui::win32 {

bool ImageNote::Create(HWND parent, int id, const std::wstring& name, const Rect& r, PictureList items,
                       const std::wstring& caption) {
  RegisterControlClass(L"TImageNote");
  items_ = std::move(items);
  model_.SetPictureCount(static_cast<int>(items_.size()));
  return CreateWindowFor(L"TImageNote", parent, id, name, r, WS_VISIBLE | WS_TABSTOP, 0, caption);
}

void ImageNote::SetImageIndex(int index) {
  if (model_.SetImageIndex(index)) Invalidate();
}

void ImageNote::SetOverlay(std::size_t index, PictureRef picture, const Rect& at) {
  if (overlays_.Set(index, std::move(picture), at)) Invalidate();
}

void ImageNote::Paint(HDC dc, const RECT& client) {
  const int shown = model_.ImageIndex();
  const PictureRef none;
  const PictureRef& p = shown >= 0 ? items_[static_cast<std::size_t>(shown)] : none;
  if (p) {
    RECT target = client;
    if (!Stretch) target = {0, 0, p->size.width, p->size.height};
    DrawPicture(dc, p, target);
  }
  overlays_.Draw(dc);
  if (!p) return;
  // The focus mark follows the system's keyboard cues: hidden until the keyboard is used.
  const bool cues = (SendMessageW(hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
  if (GetFocus() == hwnd() && cues) {
    RECT f = client;
    InflateRect(&f, -3, -3);
    DrawFocusRect(dc, &f);
  }
}

LRESULT ImageNote::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      Invalidate();
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS;
    case WM_KEYUP:
      if ((wp == VK_SPACE || wp == VK_RETURN) && OnClick) OnClick();
      return 0;
    default:
      break;
  }
  return Control::Handle(msg, wp, lp);
}

}  // namespace corrivo::ui::win32
