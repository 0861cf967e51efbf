#include "app/win32/skin.h"

#include <algorithm>
#include <cmath>

namespace corrivo::app {
namespace {

using namespace ui::win32;
using ui::Size;

PictureRef Solid(Size size, COLORREF colour) {
  return MakePicture(size, [colour](HDC dc, const RECT& r) { FillSolid(dc, r, colour); });
}

PictureRef Rounded(Size size, int radius, COLORREF top, COLORREF bottom, COLORREF border) {
  return MakePicture(size, [=](HDC dc, const RECT& r) { FillRounded(dc, r, radius, top, bottom, border); });
}

// One end of a rounded bar: the rounded rectangle is drawn past the cap and clipped to it.
PictureRef Cap(int width, bool left, COLORREF top, COLORREF bottom) {
  return MakePicture({width, 16}, [=](HDC dc, const RECT& r) {
    const int h = r.bottom - r.top;
    RECT big = left ? RECT{r.left, r.top, r.right + h, r.bottom} : RECT{r.left - h, r.top, r.right, r.bottom};
    FillRounded(dc, big, h / 2, top, bottom, kNoBorder);
  });
}

PictureRef Flat(COLORREF top, COLORREF bottom) {
  return MakePicture({16, 16}, [=](HDC dc, const RECT& r) { FillGradient(dc, r, top, bottom); });
}

void DrawTitleGlyph(HDC dc, const RECT& r, TitleButton which, COLORREF c) {
  const int cx = (r.left + r.right) / 2;
  const int cy = (r.top + r.bottom) / 2;
  switch (which) {
    case TitleButton::Minimise:
      DrawLine(dc, cx - 5, cy + 1, cx + 5, cy + 1, c, 2);
      break;
    case TitleButton::Maximise: {
      Pen pen(CreatePen(PS_SOLID, 1, c));
      Selection p(dc, pen.get());
      Selection b(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, cx - 5, cy - 5, cx + 6, cy + 6);
      DrawLine(dc, cx - 5, cy - 4, cx + 5, cy - 4, c, 1);
      break;
    }
    case TitleButton::Restore: {
      Pen pen(CreatePen(PS_SOLID, 1, c));
      Selection p(dc, pen.get());
      Selection b(dc, GetStockObject(NULL_BRUSH));
      MoveToEx(dc, cx - 2, cy - 3, nullptr);
      LineTo(dc, cx - 2, cy - 6);
      LineTo(dc, cx + 6, cy - 6);
      LineTo(dc, cx + 6, cy + 2);
      LineTo(dc, cx + 3, cy + 2);
      Rectangle(dc, cx - 6, cy - 2, cx + 3, cy + 7);
      break;
    }
    case TitleButton::Close:
      DrawLine(dc, cx - 4, cy - 4, cx + 4, cy + 4, c, 2);
      DrawLine(dc, cx + 4, cy - 4, cx - 4, cy + 4, c, 2);
      break;
  }
}

PictureRef TitlePicture(TitleButton which, COLORREF fill, COLORREF glyph) {
  return MakePicture({30, 28}, [=](HDC dc, const RECT& r) {
    if (fill != kNoBorder) {
      RECT f = r;
      InflateRect(&f, -1, -1);
      FillRounded(dc, f, 4, fill, fill, kNoBorder);
    }
    DrawTitleGlyph(dc, r, which, glyph);
  });
}

ImageButton::Skin ButtonSkin(COLORREF top, COLORREF bottom, COLORREF border, int radius) {
  ImageButton::Skin s;
  s.pictures[0] = Rounded({64, 24}, radius, top, bottom, border);
  s.pictures[1] = Rounded({64, 24}, radius, Mix(top, RGB(255, 255, 255), 18), Mix(bottom, RGB(255, 255, 255), 14),
                          border);
  s.pictures[2] = Rounded({64, 24}, radius, Mix(bottom, RGB(0, 0, 0), 12), Mix(bottom, RGB(0, 0, 0), 4), border);
  s.pictures[3] = Rounded({64, 24}, radius, RGB(214, 215, 220), RGB(206, 207, 213), RGB(194, 195, 202));
  s.pictures[4] = s.pictures[2];
  return s;
}

}  // namespace

void DrawGlyph(HDC dc, const RECT& r, Glyph glyph, COLORREF c) {
  const int size = std::min(r.right - r.left, r.bottom - r.top);
  const int cx = (r.left + r.right) / 2;
  const int cy = (r.top + r.bottom) / 2;
  const int u = std::max(1, size / 16);  // one design unit
  const int w = std::max(2, size / 11);  // stroke width
  Pen pen(CreatePen(PS_SOLID, w, c));
  Selection p(dc, pen.get());
  Selection b(dc, GetStockObject(NULL_BRUSH));
  switch (glyph) {
    case Glyph::Scan:  // a magnifier over a tick
      Ellipse(dc, cx - 6 * u, cy - 6 * u, cx + 3 * u, cy + 3 * u);
      DrawLine(dc, cx + 2 * u, cy + 2 * u, cx + 6 * u, cy + 6 * u, c, w + u);
      DrawLine(dc, cx - 4 * u, cy - 2 * u, cx - 2 * u, cy, c, w);
      DrawLine(dc, cx - 2 * u, cy, cx + 1 * u, cy - 4 * u, c, w);
      break;
    case Glyph::Tools: {  // a gear: eight teeth around a ring
      const int outer = 7 * u, inner = 5 * u;
      for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        const int x1 = cx + static_cast<int>(inner * std::cos(a)), y1 = cy + static_cast<int>(inner * std::sin(a));
        const int x2 = cx + static_cast<int>(outer * std::cos(a)), y2 = cy + static_cast<int>(outer * std::sin(a));
        DrawLine(dc, x1, y1, x2, y2, c, w + u);
      }
      Ellipse(dc, cx - inner, cy - inner, cx + inner, cy + inner);
      Ellipse(dc, cx - 2 * u, cy - 2 * u, cx + 2 * u, cy + 2 * u);
      break;
    }
    case Glyph::Globe:
      Ellipse(dc, cx - 7 * u, cy - 7 * u, cx + 7 * u, cy + 7 * u);
      Ellipse(dc, cx - 3 * u, cy - 7 * u, cx + 3 * u, cy + 7 * u);
      DrawLine(dc, cx - 7 * u, cy, cx + 7 * u, cy, c, w);
      DrawLine(dc, cx - 6 * u, cy - 3 * u, cx + 6 * u, cy - 3 * u, c, std::max(1, w / 2));
      DrawLine(dc, cx - 6 * u, cy + 3 * u, cx + 6 * u, cy + 3 * u, c, std::max(1, w / 2));
      break;
    case Glyph::Media: {
      Ellipse(dc, cx - 7 * u, cy - 7 * u, cx + 7 * u, cy + 7 * u);
      Brush fill(CreateSolidBrush(c));
      Selection f(dc, fill.get());
      POINT tri[3] = {{cx - 2 * u, cy - 4 * u}, {cx + 4 * u, cy}, {cx - 2 * u, cy + 4 * u}};
      Pen thin(CreatePen(PS_SOLID, 1, c));
      Selection t(dc, thin.get());
      Polygon(dc, tri, 3);
      break;
    }
  }
}

Skin::Skin()
    : normal_(MakeFont(-11)),
      title_(MakeFont(-15)),
      info_(MakeFont(-13)),
      tileLabel_(MakeFont(-13, true)),
      bold_(MakeFont(-11, true)) {
  background = MakePicture({100, 100}, [](HDC dc, const RECT& r) {
    RECT band = {r.left, r.top, r.right, std::min<LONG>(r.bottom, r.top + 110)};
    FillGradient(dc, band, RGB(46, 49, 63), palette::kHeader);
    RECT rest = {r.left, band.bottom, r.right, r.bottom};
    FillSolid(dc, rest, palette::kHeader);
    // A thin accent line under the title bar ties the header to the tiles below.
    RECT accent = {r.left, r.top, r.right, r.top + 2};
    FillGradient(dc, accent, palette::kAccent, palette::kAccentDark);
  });
  edge = Solid({2, 2}, palette::kFrame);
  corner = MakePicture({4, 4}, [](HDC dc, const RECT& r) {
    FillSolid(dc, r, palette::kFrame);
  });
  contentEdge = Solid({3, 3}, RGB(44, 46, 58));
  contentCorner = Solid({4, 4}, RGB(44, 46, 58));
  logo = MakePicture({48, 48}, [](HDC dc, const RECT& r) {
    FillRounded(dc, r, 10, RGB(72, 152, 247), palette::kAccentDark, kNoBorder);
    // The program's mark: a tick, as in its icon.
    const int u = (r.right - r.left) / 16;
    DrawLine(dc, r.left + 4 * u, r.top + 8 * u + u / 2, r.left + 7 * u, r.top + 11 * u + u / 2, RGB(255, 255, 255),
             2 * u);
    DrawLine(dc, r.left + 7 * u, r.top + 11 * u + u / 2, r.left + 12 * u, r.top + 4 * u + u / 2,
             RGB(255, 255, 255), 2 * u);
  });
  titleIcon = MakePicture({16, 16}, [](HDC dc, const RECT& r) {
    FillRounded(dc, r, 4, RGB(72, 152, 247), palette::kAccentDark, kNoBorder);
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    DrawLine(dc, cx - 4, cy, cx - 1, cy + 3, RGB(255, 255, 255), 2);
    DrawLine(dc, cx - 1, cy + 3, cx + 4, cy - 3, RGB(255, 255, 255), 2);
  });
  grip = MakePicture({9, 9}, [](HDC dc, const RECT& r) {
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j <= i; ++j) {
        RECT dot = {r.right - 3 - j * 3, r.bottom - 3 - (i - j) * 3, r.right - 1 - j * 3, r.bottom - 1 - (i - j) * 3};
        FillSolid(dc, dot, RGB(110, 114, 130));
      }
    }
  });
  headerSelected = MakePicture({160, 80}, [](HDC dc, const RECT& r) {
    RECT body = r;
    InflateRect(&body, -3, -3);
    FillRounded(dc, body, 6, RGB(64, 146, 246), palette::kAccentDark, kNoBorder);
    RECT bar = {body.left + 24, body.bottom - 4, body.right - 24, body.bottom - 1};
    FillRounded(dc, bar, 1, RGB(190, 220, 255), RGB(190, 220, 255), kNoBorder);
  });
  headerLine = Solid({1, 1}, RGB(48, 50, 62));
  const Glyph glyphs[4] = {Glyph::Scan, Glyph::Tools, Glyph::Globe, Glyph::Media};
  for (int i = 0; i < 4; ++i) {
    const Glyph g = glyphs[i];
    headerIcons[i] = MakePicture({32, 32}, [g](HDC dc, const RECT& r) { DrawGlyph(dc, r, g, RGB(236, 239, 246)); });
  }
  categoryTile = {
      Rounded({85, 25}, 4, RGB(248, 248, 250), RGB(240, 240, 243), RGB(210, 211, 218)),
      Rounded({85, 25}, 4, RGB(232, 240, 253), RGB(220, 232, 251), RGB(150, 182, 236)),
      Rounded({85, 25}, 4, RGB(64, 146, 246), palette::kAccentDark, RGB(28, 88, 190)),
  };
  bigInternet = MakePicture({80, 80}, [](HDC dc, const RECT& r) {
    FillRounded(dc, r, 18, RGB(72, 152, 247), palette::kAccentDark, kNoBorder);
    RECT inner = r;
    InflateRect(&inner, -16, -16);
    DrawGlyph(dc, inner, Glyph::Globe, RGB(255, 255, 255));
  });
  bigMedia = MakePicture({80, 80}, [](HDC dc, const RECT& r) {
    FillRounded(dc, r, 18, RGB(250, 156, 60), RGB(222, 108, 30), kNoBorder);
    RECT inner = r;
    InflateRect(&inner, -16, -16);
    DrawGlyph(dc, inner, Glyph::Media, RGB(255, 255, 255));
  });
  const COLORREF track = RGB(212, 214, 221);
  progress = {Flat(track, track),
              Cap(6, true, track, track),
              Cap(6, false, track, track),
              Flat(RGB(72, 152, 247), palette::kAccentDark),
              Cap(6, true, RGB(72, 152, 247), palette::kAccentDark),
              Cap(6, false, RGB(72, 152, 247), palette::kAccentDark)};
}

ImageButton::Skin Skin::TitleButtonSkin(TitleButton which) const {
  ImageButton::Skin s;
  const bool close = which == TitleButton::Close;
  s.pictures[0] = TitlePicture(which, kNoBorder, RGB(196, 199, 212));
  s.pictures[1] = TitlePicture(which, close ? RGB(224, 67, 67) : RGB(64, 68, 86), RGB(255, 255, 255));
  s.pictures[2] = TitlePicture(which, close ? RGB(186, 44, 44) : RGB(50, 53, 68), RGB(255, 255, 255));
  s.pictures[3] = TitlePicture(which, kNoBorder, RGB(92, 95, 108));
  return s;
}

ImageButton::Skin Skin::PrimaryButton() const {
  return ButtonSkin(RGB(72, 152, 247), palette::kAccentDark, RGB(28, 88, 190), 5);
}

ImageButton::Skin Skin::StopButton() const {
  return ButtonSkin(RGB(238, 94, 80), RGB(206, 58, 48), RGB(176, 44, 36), 5);
}

ImageButton::Skin Skin::FixRowButton() const {
  return ButtonSkin(RGB(72, 152, 247), palette::kAccentDark, RGB(28, 88, 190), 4);
}

}  // namespace corrivo::app
