#include "widgets/win32/scroll_box.h"

#include "widgets/scroll_rules.h"

namespace corrivo::ui::win32 {

bool ScrollBox::Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF colour,
                       int contentId, const std::wstring& contentName) {
  RegisterControlClass(L"TRdScrollBox");
  colour_ = colour;
  if (!CreateWindowFor(L"TRdScrollBox", parent, id, name, r, WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP,
                       WS_EX_CONTROLPARENT))
    return false;
  return content_.Create(hwnd(), contentId, contentName, {0, 0, r.width - kBarWidth, 0}, colour);
}

int ScrollBox::Range() const { return ScrollRange(contentHeight_, ClientSize().height); }

int ScrollBox::ContentWidth() const { return ClientSize().width - kBarWidth; }

void ScrollBox::SetContentHeight(int height) {
  contentHeight_ = height;
  Relayout();
}

void ScrollBox::SetPosition(int position) {
  const int clamped = ClampScroll(position, Range());
  if (clamped == position_) return;
  position_ = clamped;
  Relayout();
}

void ScrollBox::Relayout() {
  position_ = ClampScroll(position_, Range());
  SetWindowPos(content_.hwnd(), nullptr, 0, -position_, ContentWidth(), contentHeight_,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

RECT ScrollBox::Track() const {
  const Size s = ClientSize();
  return {s.width - kBarWidth, 2, s.width, s.height - 2};
}

void ScrollBox::Paint(HDC dc, const RECT& client) {
  FillSolid(dc, client, colour_);
  if (Range() == 0) return;
  const RECT track = Track();
  const int length = track.bottom - track.top;
  RECT groove = {track.left + 4, track.top, track.right - 4, track.bottom};
  FillRounded(dc, groove, 2, RGB(220, 221, 226), RGB(220, 221, 226), kNoBorder);
  const Thumb t = ThumbFor(length, client.bottom, contentHeight_, position_);
  RECT thumb = {track.left + (barHot_ ? 2 : 3), track.top + t.top, track.right - (barHot_ ? 2 : 3),
                track.top + t.top + t.length};
  const COLORREF c = dragOffset_ >= 0 ? RGB(98, 104, 124) : barHot_ ? RGB(128, 134, 152) : RGB(166, 170, 184);
  FillRounded(dc, thumb, 3, c, c, kNoBorder);
}

LRESULT ScrollBox::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  const POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  const RECT track = Track();
  const int length = track.bottom - track.top;
  switch (msg) {
    case WM_SIZE:
      Relayout();
      if (OnContentWidth) OnContentWidth(ContentWidth());
      return 0;
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd());
      if (p.x < track.left || Range() == 0) break;
      const Thumb t = ThumbFor(length, ClientSize().height, contentHeight_, position_);
      const int y = p.y - track.top;
      if (y < t.top || y >= t.top + t.length) {
        // A click on the groove pages towards the cursor.
        SetPosition(position_ + (y < t.top ? -1 : 1) * ClientSize().height);
        return 0;
      }
      dragOffset_ = y - t.top;
      SetCapture(hwnd());
      Invalidate();
      return 0;
    }
    case WM_MOUSEMOVE: {
      const bool hot = p.x >= track.left;
      if (hot != barHot_) {
        barHot_ = hot;
        Invalidate();
      }
      if (dragOffset_ >= 0) {
        SetPosition(PositionForThumb(length, ClientSize().height, contentHeight_, p.y - track.top - dragOffset_));
        return 0;
      }
      break;
    }
    case WM_MOUSELEAVE:
      barHot_ = false;
      Invalidate();
      break;
    case WM_LBUTTONUP:
      if (dragOffset_ >= 0) {
        dragOffset_ = -1;
        ReleaseCapture();
        Invalidate();
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      dragOffset_ = -1;
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wp == VK_DOWN || wp == VK_UP) SetPosition(position_ + (wp == VK_DOWN ? 20 : -20));
      if (wp == VK_NEXT || wp == VK_PRIOR) SetPosition(position_ + (wp == VK_NEXT ? 1 : -1) * ClientSize().height);
      if (wp == VK_HOME) SetPosition(0);
      if (wp == VK_END) SetPosition(Range());
      return 0;
    default:
      break;
  }
  return Control::Handle(msg, wp, lp);
}

}  // namespace corrivo::ui::win32
