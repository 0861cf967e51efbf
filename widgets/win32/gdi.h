// Owners of GDI objects and device contexts, and the few drawing primitives the skin uses.
#pragma once

#include <memory>
#include <string>

#include "sysaccess/win32/win32_api.h"
#include "widgets/geometry.h"

namespace corrivo::ui::win32 {

template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      reset(o.h_);
      o.h_ = nullptr;
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H release() {
    H h = h_;
    h_ = nullptr;
    return h;
  }

 private:
  H h_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// Selects an object into a DC and puts the previous one back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const RECT& dirty() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// An off-screen copy of a client area: everything is drawn into it and copied to the screen in
// one BitBlt, so nothing flickers.
class BackBuffer {
 public:
  // Only `area` is buffered; drawing keeps the target's coordinates.
  BackBuffer(HDC target, const RECT& area);
  ~BackBuffer();
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;
  HDC dc() const { return dc_; }
  void CopyTo(HDC target, const RECT& area) const;

 private:
  HDC dc_ = nullptr;
  Bitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

// The back buffer of one band of a paint, reusing one bitmap and memory DC for every paint of
// the thread (windows live on one thread): making them afresh is most of a small control's
// paint time, and under Wine each new bitmap also asks the display driver about the screen.
// The kept bitmap is as wide as the window and as tall as the tallest button, 96 KB; a wider
// or taller band, and a paint inside a paint, get a buffer of their own. Each use starts from
// the DC's default state and leaves nothing selected behind.
constexpr LONG kKeptBufferWidth = 768;
constexpr LONG kKeptBufferRows = 32;
class BandBuffer {
 public:
  BandBuffer(HDC target, const RECT& area);
  ~BandBuffer();
  BandBuffer(const BandBuffer&) = delete;
  BandBuffer& operator=(const BandBuffer&) = delete;
  HDC dc() const { return dc_; }
  void CopyTo(HDC target, const RECT& area) const;

 private:
  std::unique_ptr<BackBuffer> own_;
  HDC dc_ = nullptr;
  int saved_ = 0;
};

inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.Right(), r.Bottom()}; }
inline Rect FromRECT(const RECT& r) { return Rect::FromEdges(r.left, r.top, r.right, r.bottom); }
inline COLORREF Rgb(std::uint32_t rrggbb) {
  return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}
// "No border" for FillRounded.
constexpr COLORREF kNoBorder = 0xFFFFFFFF;
COLORREF Mix(COLORREF a, COLORREF b, int percentOfB);

void FillSolid(HDC dc, const RECT& r, COLORREF colour);
// A vertical gradient from `top` to `bottom` colour.
void FillGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom);
// A rounded rectangle filled with a vertical gradient and framed with `border` (kNoBorder for none).
void FillRounded(HDC dc, const RECT& r, int radius, COLORREF top, COLORREF bottom, COLORREF border);
void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width = 1);

Font MakeFont(int height, bool bold = false, const wchar_t* face = L"Tahoma");
// Text drawn transparently in `colour` with DrawText flags.
void DrawTextIn(HDC dc, const std::wstring& text, RECT r, HFONT font, COLORREF colour, UINT flags);
Size MeasureText(HFONT font, const std::wstring& text, int wrapWidth = 0);

}  // namespace corrivo::ui::win32
