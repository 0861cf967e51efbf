#include "widgets/win32/control_base.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "widgets/win32/pictures.h"

namespace corrivo::ui::win32 {
namespace {

bool HasNonClientArea(HWND hwnd) {
  constexpr LONG_PTR kFrameStyles = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
  constexpr LONG_PTR kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME;
  return (GetWindowLongPtrW(hwnd, GWL_STYLE) & kFrameStyles) || (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & kFrameExStyles);
}

Point PointFrom(LPARAM lp) {
  return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

// The stacking order of each parent's child windows, top first. Asking the window manager
// costs one round trip per sibling, and painting a transparent control needs the siblings
// below it, so the order is asked once and kept until this layer changes it: a child made,
// attached, raised, lowered or destroyed. Nothing else reorders child windows (showing,
// hiding and moving a child leave its place in the stack). Windows live on one thread.
// A window this layer has just made has no children: its order is known from the start, and
// its children's places follow from how they were made. Only the order among our controls
// counts (backdrops and repaints look at nothing else), so a child that some other code makes
// without this layer may be missing from it.
class SiblingOrder {
 public:
  void StartEmpty(HWND fresh) {
    Forget(fresh);
    known_.emplace_back(fresh, std::vector<HWND>());
  }
  // A copy: painting and invalidating, which walk it, can make or destroy windows.
  std::vector<HWND> Of(HWND child) {
    const HWND parent = GetParent(child);
    if (const auto* order = Known(parent)) {
      if (std::find(order->begin(), order->end(), child) != order->end()) return *order;
      Forget(parent);  // a child made behind this layer's back
    }
    std::vector<HWND> order;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
    known_.emplace_back(parent, order);
    return order;
  }
  // Keep a known order in step with a change this layer made to it.
  void Place(HWND child, HWND parent, bool top) {
    if (auto* order = Known(parent)) {
      order->erase(std::remove(order->begin(), order->end(), child), order->end());
      order->insert(top ? order->begin() : order->end(), child);
    }
  }
  void Remove(HWND child, HWND parent) {
    if (auto* order = Known(parent)) order->erase(std::remove(order->begin(), order->end(), child), order->end());
  }
  void Forget(HWND parent) {
    known_.erase(std::remove_if(known_.begin(), known_.end(), [parent](const auto& e) { return e.first == parent; }),
                 known_.end());
  }

 private:
  std::vector<HWND>* Known(HWND parent) {
    for (auto& [p, order] : known_) {
      if (p == parent) return &order;
    }
    return nullptr;
  }
  std::vector<std::pair<HWND, std::vector<HWND>>> known_;
};

SiblingOrder& Siblings() {
  static SiblingOrder order;
  return order;
}

// Our controls by window; windows live on one thread.
std::unordered_map<HWND, Control*>& Objects() {
  static std::unordered_map<HWND, Control*> objects;
  return objects;
}

}  // namespace

LRESULT AnswerAfterException(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WNDPROC baseProc) noexcept {
  try {
    OutputDebugStringW(L"Corrivo: a window message handler failed; the message got the default handling\n");
    if (msg == WM_NCCREATE) return FALSE;
    if (msg == WM_CREATE) return -1;
    return baseProc ? CallWindowProcW(baseProc, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
  } catch (...) {
    return 0;
  }
}

Control::~Control() {
  if (!hwnd_) return;
  Objects().erase(hwnd_);
  if (baseProc_ && IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(baseProc_));
}

// The window is one of ours when its procedure is ours (read in the process), and its object
// is kept in the process too: a window property, or even the window's user data, would be a
// round trip to the window manager to set, once for every control made.
Control* Control::FromHwnd(HWND hwnd) {
  if (!hwnd || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != &Control::Proc) return nullptr;
  const auto found = Objects().find(hwnd);
  return found == Objects().end() ? nullptr : found->second;
}

void Control::Bind(HWND hwnd) {
  hwnd_ = hwnd;
  Objects()[hwnd] = this;
}

void Control::RegisterControlClass(const wchar_t* className, UINT style) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, className, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = &Control::Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
}

bool Control::CreateWindowFor(const wchar_t* className, HWND parent, int id, const std::wstring& name,
                              const Rect& r, DWORD style, DWORD exStyle, const std::wstring& text) {
  id_ = id;
  name_ = name;
  // The window finds its object from the first message on (WM_NCCREATE binds it).
  HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD | WS_CLIPSIBLINGS, r.left,
                              r.top, r.width, r.height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                              this);
  if (!hwnd) return false;
  hwnd_ = hwnd;
  Siblings().Place(hwnd, parent, false);  // a new child window goes under its siblings
  Siblings().StartEmpty(hwnd);
  return true;
}

void Control::NoteFreshParent(HWND fresh) { Siblings().StartEmpty(fresh); }

void Control::Attach(HWND hwnd, int id, const std::wstring& name) {
  id_ = id;
  name_ = name;
  Bind(hwnd);
  Siblings().Place(hwnd, GetParent(hwnd), false);  // just made: under its siblings
  baseProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::Proc)));
}

LRESULT CALLBACK Control::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC base = nullptr;
  try {
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
      if (auto* self = static_cast<Control*>(cs->lpCreateParams)) self->Bind(hwnd);
    }
    Control* self = FromHwnd(hwnd);
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    base = self->baseProc_;
    if (msg == WM_NCDESTROY) {
      Siblings().Remove(hwnd, GetParent(hwnd));
      Siblings().Forget(hwnd);
      Objects().erase(hwnd);
      self->hwnd_ = nullptr;
      return base ? CallWindowProcW(base, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->Handle(msg, wp, lp);
  } catch (...) {
    return AnswerAfterException(hwnd, msg, wp, lp, base);
  }
}

LRESULT Control::Default(UINT msg, WPARAM wp, LPARAM lp) {
  return baseProc_ ? CallWindowProcW(baseProc_, hwnd_, msg, wp, lp) : DefWindowProcW(hwnd_, msg, wp, lp);
}

bool Control::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  HWND child = nullptr;
  if (msg == WM_COMMAND) child = reinterpret_cast<HWND>(lp);
  if (msg == WM_NOTIFY) child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
  if (msg == WM_DRAWITEM) child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
  Control* target = FromHwnd(child);
  if (!target) return false;
  Reflected r{msg, wp, lp};
  *result = target->OnReflect(r);
  return true;
}

LRESULT Control::RouteChildNotification(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (ReflectToChild(msg, wp, lp, &result)) return result;
  // Not one of ours: let the parent chain see it (the main window handles the rest).
  return SendMessageW(GetParent(hwnd_), msg, wp, lp);
}

LRESULT Control::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (!baseProc_) return 1;
      break;
    case WM_NCPAINT:
      // A window without frame, caption or scroll bars (all of our own classes, and the
      // buttons) has nothing outside its client area; the system's frame painting would only
      // fetch a device context to draw nothing.
      if (!baseProc_ || !HasNonClientArea(hwnd_)) return 0;
      break;
    case WM_PAINT:
      if (baseProc_) break;
      PaintBuffered();
      return 0;
    case WM_PRINTCLIENT:
      if (baseProc_) break;
      Paint(reinterpret_cast<HDC>(wp), RECT{0, 0, ClientSize().width, ClientSize().height});
      return 0;
    case WM_SETTEXT: {
      LRESULT r = Default(msg, wp, lp);
      Invalidate();
      return r;
    }
    case WM_ENABLE:
      Invalidate();
      break;
    case WM_SETCURSOR:
      if (cursor_ && LOWORD(lp) == HTCLIENT) {
        ::SetCursor(LoadCursorW(nullptr, cursor_));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TrackLeave();
        if (OnMouseEnter) OnMouseEnter();
        if (RepaintsOnHover()) Invalidate();
      }
      if (OnMouseMove) OnMouseMove(PointFrom(lp));
      break;
    case WM_MOUSELEAVE:
      hot_ = false;
      if (OnMouseLeave) OnMouseLeave();
      if (RepaintsOnHover()) Invalidate();
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (baseProc_) break;
      pressed_ = true;
      SetCapture(hwnd_);
      Invalidate();
      if (OnMouseDown) OnMouseDown(PointFrom(lp));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      if (baseProc_) break;
      const bool wasPressed = pressed_;
      pressed_ = false;
      if (GetCapture() == hwnd_) ReleaseCapture();
      Invalidate();
      if (OnMouseUp) OnMouseUp(PointFrom(lp));
      RECT rc;
      GetClientRect(hwnd_, &rc);
      POINT p = {PointFrom(lp).x, PointFrom(lp).y};
      if (wasPressed && msg == WM_LBUTTONUP && PtInRect(&rc, p) && OnClick) OnClick();
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      if (baseProc_) break;
      if (OnDoubleClick) {
        OnDoubleClick();
        return 0;
      }
      // Without a double-click handler the second press is an ordinary press.
      return Handle(WM_LBUTTONDOWN, wp, lp);
    case WM_CAPTURECHANGED:
      if (pressed_ && reinterpret_cast<HWND>(lp) != hwnd_) {
        pressed_ = false;
        Invalidate();
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
      // A system control's own parts (a list view's header) talk to that control, not to us.
      if (lp && !baseProc_) return RouteChildNotification(msg, wp, lp);
      break;
    case kReflectMessage:
      return OnReflect(*reinterpret_cast<const Reflected*>(lp));
    default:
      break;
  }
  return Default(msg, wp, lp);
}

void Control::TrackLeave() {
  TRACKMOUSEEVENT t{};
  t.cbSize = sizeof(t);
  t.dwFlags = TME_LEAVE;
  t.hwndTrack = hwnd_;
  TrackMouseEvent(&t);
}

void Control::PaintBuffered() {
  PaintDc paint(hwnd_);
  RECT rc;
  GetClientRect(hwnd_, &rc);
  const RECT dirty = paint.dirty();
  if (IsRectEmpty(&dirty)) return;
  // Only the part to be repainted is buffered (big panels rarely repaint whole), in bands of
  // rows that fit the one buffer kept for all paints (see BandBuffer): each band goes out in
  // one piece, so nothing flickers, and no bitmap is made while painting. A maximised window
  // is wider than that buffer: its bands get their own, of at most a quarter of a megabyte
  // (under Wine the biggest one's memory stays with the process). Bands start a multiple of
  // 16 rows apart: brush patterns keep their phase.
  constexpr LONG kWideBandPixels = 64 * 1024;
  const LONG width = dirty.right - dirty.left;
  const LONG rows = width <= kKeptBufferWidth ? kKeptBufferRows
                                              : std::max<LONG>(16, (kWideBandPixels / width) & ~LONG{15});
  for (LONG top = dirty.top; top < dirty.bottom; top += rows) {
    const RECT band = {dirty.left, top, dirty.right, std::min(dirty.bottom, top + rows)};
    BandBuffer buffer(paint.get(), band);
    IntersectClipRect(buffer.dc(), band.left, band.top, band.right, band.bottom);
    if (Transparent()) PaintBackdrop(buffer.dc());
    Paint(buffer.dc(), rc);
    PaintDecorations(buffer.dc());
    buffer.CopyTo(paint.get(), band);
  }
}

void Control::PaintDecorations(HDC dc) {
  for (HWND w = hwnd_; w; w = (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr) {
    const Control* holder = FromHwnd(w);
    const Overlays* decorations = holder ? holder->DecorationsOverChildren() : nullptr;
    if (!decorations || decorations->Empty()) continue;
    POINT origin{0, 0};
    MapWindowPoints(w, hwnd_, &origin, 1);
    decorations->Draw(dc, {origin.x, origin.y});
  }
}

void Control::PaintBackdrop(HDC dc) {
  HWND parent = GetParent(hwnd_);
  Control* owner = FromHwnd(parent);
  RECT mine;
  GetWindowRect(hwnd_, &mine);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&mine), 2);
  POINT old;
  GetViewportOrgEx(dc, &old);
  SetViewportOrgEx(dc, old.x - mine.left, old.y - mine.top, nullptr);
  if (owner) owner->PrintClient(dc);
  // Siblings below this one, bottom-most first.
  const std::vector<HWND> order = Siblings().Of(hwnd_);
  const auto self = std::find(order.begin(), order.end(), hwnd_);
  for (auto it = order.end(); self != order.end() && it != self + 1;) {
    --it;
    Control* sibling = FromHwnd(*it);
    if (!sibling || !IsWindowVisible(*it)) continue;
    RECT r, overlap;
    GetWindowRect(*it, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    if (!IntersectRect(&overlap, &r, &mine)) continue;
    SetViewportOrgEx(dc, old.x + r.left - mine.left, old.y + r.top - mine.top, nullptr);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    sibling->PrintClient(dc);
    RestoreDC(dc, saved);
  }
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void Control::PrintClient(HDC dc) {
  if (baseProc_) return;
  // A transparent sibling paints only its own content: what lies behind it is already there.
  Paint(dc, RECT{0, 0, ClientSize().width, ClientSize().height});
}

void Control::SetBounds(const Rect& r) {
  // Layout passes set every control's place again; one that stays put costs no move.
  if (r == Bounds()) return;
  MoveWindow(hwnd_, r.left, r.top, r.width, r.height, TRUE);
}

Rect Control::Bounds() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return FromRECT(r);
}

Size Control::ClientSize() const {
  RECT r = {};
  GetClientRect(hwnd_, &r);
  return {r.right, r.bottom};
}

void Control::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
bool Control::Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Control::BringToFront() {
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Siblings().Place(hwnd_, GetParent(hwnd_), true);
}

void Control::SendToBack() {
  SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Siblings().Place(hwnd_, GetParent(hwnd_), false);
}

void Control::Invalidate(bool now, bool withChildren) {
  if (!hwnd_) return;
  // Before its window first shows nothing is on the screen, and showing paints it all.
  if (!(GetWindowLongPtrW(GetAncestor(hwnd_, GA_ROOT), GWL_STYLE) & WS_VISIBLE)) return;
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | (withChildren ? RDW_ALLCHILDREN : 0));
  // Transparent siblings above show this control through themselves: they repaint with it.
  RECT mine, other, overlap;
  GetWindowRect(hwnd_, &mine);
  const std::vector<HWND> order = Siblings().Of(hwnd_);
  const auto self = std::find(order.begin(), order.end(), hwnd_);
  for (auto it = self; it != order.begin();) {
    --it;
    Control* above = FromHwnd(*it);
    if (!above || !above->Transparent()) continue;
    GetWindowRect(*it, &other);
    if (IntersectRect(&overlap, &mine, &other)) InvalidateRect(*it, nullptr, FALSE);
  }
  if (now) {
    UpdateWindow(hwnd_);
    for (auto it = self; it != order.begin();) UpdateWindow(*--it);
  }
}

std::wstring Control::Text() const {
  const int n = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, text.data(), n + 1)));
  return text;
}

void Control::SetText(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

void Control::SetFont(HFONT font) {
  font_ = font;
  if (baseProc_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  Invalidate();
}

}  // namespace corrivo::ui::win32
