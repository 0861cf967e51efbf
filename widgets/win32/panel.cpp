#include "widgets/win32/panel.h"

namespace corrivo::ui::win32 {

bool Panel::Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF colour,
                   DWORD extraStyle) {
  RegisterControlClass(L"TPanel");
  colour_ = colour;
  return CreateWindowFor(L"TPanel", parent, id, name, r, WS_VISIBLE | WS_CLIPCHILDREN | extraStyle,
                         WS_EX_CONTROLPARENT);
}

void Panel::SetColour(COLORREF colour) {
  colour_ = colour;
  brush_.reset();
  Invalidate();
}

LRESULT Panel::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
    if (!brush_) brush_.reset(CreateSolidBrush(colour_));
    SetBkColor(reinterpret_cast<HDC>(wp), colour_);
    return reinterpret_cast<LRESULT>(brush_.get());
  }
  return Control::Handle(msg, wp, lp);
}

void Panel::SetDecoration(std::size_t index, PictureRef picture, const Rect& at) {
  if (decorations_.Set(index, std::move(picture), at)) Invalidate(false, true);
}

void Panel::Paint(HDC dc, const RECT& client) {
  FillSolid(dc, client, colour_);
  if (OnPaintExtra) OnPaintExtra(dc, client);
}

bool Image::Create(HWND parent, int id, const std::wstring& name, const Rect& r, PictureRef picture,
                   bool transparent) {
  RegisterControlClass(L"TImage");
  picture_ = std::move(picture);
  transparent_ = transparent;
  return CreateWindowFor(L"TImage", parent, id, name, r, WS_VISIBLE);
}

void Image::SetPicture(PictureRef picture) {
  picture_ = std::move(picture);
  Invalidate();
}

void Image::SetOverlay(std::size_t index, PictureRef picture, const Rect& at) {
  if (overlays_.Set(index, std::move(picture), at)) Invalidate();
}

void Image::Paint(HDC dc, const RECT& client) {
  DrawPicture(dc, picture_, client);
  overlays_.Draw(dc);
}

}  // namespace corrivo::ui::win32
