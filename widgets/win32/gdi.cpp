#include "widgets/win32/gdi.h"

#include <algorithm>
#include <cstdint>

namespace corrivo::ui::win32 {

BackBuffer::BackBuffer(HDC target, const RECT& area) {
  dc_ = CreateCompatibleDC(target);
  bitmap_.reset(CreateCompatibleBitmap(target, std::max<LONG>(1, area.right - area.left),
                                       std::max<LONG>(1, area.bottom - area.top)));
  old_ = SelectObject(dc_, bitmap_.get());
  SetViewportOrgEx(dc_, -area.left, -area.top, nullptr);
}

BackBuffer::~BackBuffer() {
  if (old_) SelectObject(dc_, old_);
  if (dc_) DeleteDC(dc_);
}

void BackBuffer::CopyTo(HDC target, const RECT& area) const {
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_, area.left,
         area.top, SRCCOPY);
}

namespace {

struct SharedBand {
  HDC dc = nullptr;
  Bitmap bitmap;  // kKeptBufferWidth x kKeptBufferRows, stays selected into `dc`
  bool busy = false;
};

SharedBand& Shared() {
  static SharedBand band;
  return band;
}

// Whether the kept buffer can take a band of this size; it is made on first use, in one
// shape that never changes, so no band ever waits for a new bitmap.
bool SharedTakes(SharedBand& s, HDC target, LONG width, LONG height) {
  if (s.busy || width > kKeptBufferWidth || height > kKeptBufferRows) return false;
  if (s.bitmap) return true;
  if (!s.dc) s.dc = CreateCompatibleDC(target);
  if (!s.dc) return false;
  s.bitmap.reset(CreateCompatibleBitmap(target, kKeptBufferWidth, kKeptBufferRows));
  if (!s.bitmap) return false;
  SelectObject(s.dc, s.bitmap.get());
  return true;
}

}  // namespace

BandBuffer::BandBuffer(HDC target, const RECT& area) {
  SharedBand& s = Shared();
  if (!SharedTakes(s, target, area.right - area.left, area.bottom - area.top)) {
    own_ = std::make_unique<BackBuffer>(target, area);
    dc_ = own_->dc();
    return;
  }
  s.busy = true;
  dc_ = s.dc;
  saved_ = SaveDC(dc_);
  SetViewportOrgEx(dc_, -area.left, -area.top, nullptr);
}

BandBuffer::~BandBuffer() {
  if (own_) return;
  RestoreDC(dc_, saved_);
  Shared().busy = false;
}

void BandBuffer::CopyTo(HDC target, const RECT& area) const {
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_, area.left, area.top,
         SRCCOPY);
}

COLORREF Mix(COLORREF a, COLORREF b, int p) {
  auto ch = [p](int x, int y) { return (x * (100 - p) + y * p) / 100; };
  return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush.get());
}

namespace {

// Rounded down like the system's gradient fill, so the skin looks as it did when msimg32 drew it.
BYTE Channel(int from, int to, LONG row, LONG rows) {
  // 64 bits: a rectangle may reach far outside the device when only a slice of it is visible.
  return static_cast<BYTE>((std::int64_t{from} * (rows - row) + std::int64_t{to} * row) / rows);
}

COLORREF RowColour(COLORREF top, COLORREF bottom, LONG row, LONG rows) {
  return RGB(Channel(GetRValue(top), GetRValue(bottom), row, rows),
             Channel(GetGValue(top), GetGValue(bottom), row, rows),
             Channel(GetBValue(top), GetBValue(bottom), row, rows));
}

// An opaque empty text run is the cheapest solid fill GDI has: no brush to make or free.
void FillBand(HDC dc, const RECT& band, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &band, nullptr, 0, nullptr);
}

}  // namespace

void FillGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  const LONG h = r.bottom - r.top;
  if (h <= 0 || r.right <= r.left) return;
  if (top == bottom) return FillSolid(dc, r, top);
  // Only the rows inside the clip box are painted: a window-sized gradient behind a small
  // label would otherwise cost a full-size fill on every repaint. Each row's colour depends on
  // its place in the whole rectangle only, so partial repaints meet without a seam.
  RECT part = r;
  RECT clip;
  const int region = GetClipBox(dc, &clip);
  if (region == NULLREGION) return;
  if (region != ERROR && clip.right > clip.left) {
    part.top = std::max(r.top, clip.top);
    part.bottom = std::min(r.bottom, clip.bottom);
    part.left = std::max(r.left, clip.left);
    part.right = std::min(r.right, clip.right);
  }
  if (part.bottom <= part.top || part.right <= part.left) return;
  const COLORREF oldBk = GetBkColor(dc);
  // Rows of one colour go out as one band: a gentle gradient over a tall area has far fewer
  // colours than rows.
  for (LONG y = part.top; y < part.bottom;) {
    const COLORREF colour = RowColour(top, bottom, y - r.top, h);
    LONG end = y + 1;
    while (end < part.bottom && RowColour(top, bottom, end - r.top, h) == colour) ++end;
    FillBand(dc, {part.left, y, part.right, end}, colour);
    y = end;
  }
  SetBkColor(dc, oldBk);
}

void FillRounded(HDC dc, const RECT& r, int radius, COLORREF top, COLORREF bottom, COLORREF border) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  Region clip(CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1, radius * 2, radius * 2));
  // Clip regions are in device units: follow the origin a backdrop pass may have moved.
  POINT origin;
  GetViewportOrgEx(dc, &origin);
  OffsetRgn(clip.get(), origin.x, origin.y);
  const int saved = SaveDC(dc);
  ExtSelectClipRgn(dc, clip.get(), RGN_AND);
  FillGradient(dc, r, top, bottom);
  RestoreDC(dc, saved);
  if (border != kNoBorder) {
    Pen pen(CreatePen(PS_SOLID, 1, border));
    Selection p(dc, pen.get());
    Selection b(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius * 2, radius * 2);
  }
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width) {
  LOGBRUSH lb = {BS_SOLID, colour, 0};
  Pen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, width, &lb, 0, nullptr));
  Selection s(dc, pen.get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

Font MakeFont(int height, bool bold, const wchar_t* face) {
  LOGFONTW lf = {};
  lf.lfHeight = height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return Font(CreateFontIndirectW(&lf));
}

void DrawTextIn(HDC dc, const std::wstring& text, RECT r, HFONT font, COLORREF colour, UINT flags) {
  Selection f(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_NOPREFIX);
}

namespace {
// One memory DC for every measurement: the window measures dozens of labels at each layout.
class MeasureDc {
 public:
  MeasureDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MeasureDc() {
    if (dc_) DeleteDC(dc_);
  }
  MeasureDc(const MeasureDc&) = delete;
  MeasureDc& operator=(const MeasureDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};
}  // namespace

Size MeasureText(HFONT font, const std::wstring& text, int wrapWidth) {
  static MeasureDc measure;
  HDC dc = measure.get();
  Size size;
  {
    Selection f(dc, font);
    RECT r = {0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
    const UINT flags = DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, text.empty() ? L" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &r,
              flags);
    size = {r.right - r.left, r.bottom - r.top};
  }
  return size;
}

}  // namespace corrivo::ui::win32
