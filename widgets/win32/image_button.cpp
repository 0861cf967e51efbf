#include "widgets/win32/image_button.h"

#include <commctrl.h>

namespace corrivo::ui::win32 {

bool ImageButton::Create(HWND parent, int id, const std::wstring& name, const Rect& r,
                         const std::wstring& caption, const Skin& skin, HFONT font, bool tabStop) {
  skin_ = skin;
  HWND hwnd = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                              WS_CHILD | WS_VISIBLE | (tabStop ? WS_TABSTOP : 0) | WS_CLIPSIBLINGS | BS_OWNERDRAW, r.left,
                              r.top, r.width, r.height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                              nullptr);
  if (!hwnd) return false;
  Attach(hwnd, id, name);
  if (font) SetFont(font);
  return true;
}

void ImageButton::SetSelected(bool selected) {
  selected_ = selected;
  Invalidate();
}

void ImageButton::AutoSize() {
  if (!skin_.pictures[0]) return;
  const Rect b = Bounds();
  SetBounds({b.left, b.top, skin_.pictures[0]->size.width, skin_.pictures[0]->size.height});
}

void ImageButton::SetHint(const std::wstring& hint) {
  hint_ = hint;
  if (!ShowHint) return;
  TOOLINFOW ti = {};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(hwnd());
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd());
  ti.lpszText = const_cast<wchar_t*>(hint_.c_str());
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  } else {
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

LRESULT ImageButton::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 1;
  return Control::Handle(msg, wp, lp);
}

LRESULT ImageButton::OnReflect(const Reflected& r) {
  if (r.message == WM_DRAWITEM) {
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(r.lParam));
    return TRUE;
  }
  if (r.message == WM_COMMAND && HIWORD(r.wParam) == BN_CLICKED) {
    if (OnClick) OnClick();
    return 0;
  }
  return 0;
}

void ImageButton::Draw(const DRAWITEMSTRUCT& dis) {
  const RECT rc = dis.rcItem;
  BandBuffer buffer(dis.hDC, rc);
  HDC dc = buffer.dc();
  if (Transparent()) PaintBackdrop(dc);
  ButtonInput in;
  in.enabled = !(dis.itemState & ODS_DISABLED);
  in.selected = selected_;
  in.hot = Hot();
  in.pressed = (dis.itemState & ODS_SELECTED) != 0;
  if (in.pressed) in.hot = true;
  std::array<bool, 5> has{};
  for (int i = 0; i < 5; ++i) has[i] = skin_.pictures[i] != nullptr;
  const ButtonState state = PictureState(VisualState(in), has);
  DrawPicture(dc, skin_.pictures[static_cast<int>(state)], rc);
  const std::wstring caption = Text();
  if (!caption.empty()) {
    RECT text = rc;
    if (in.pressed) OffsetRect(&text, 0, 1);
    DrawTextIn(dc, caption, text, FontHandle(), skin_.captionColours[static_cast<int>(VisualState(in))],
               DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT)) {
    RECT f = rc;
    InflateRect(&f, -3, -3);
    DrawFocusRect(dc, &f);
  }
  buffer.CopyTo(dis.hDC, rc);
}

}  // namespace corrivo::ui::win32
