// A label: its caption is its window text, drawn transparently over whatever lies behind it.
#pragma once

#include "widgets/win32/control_base.h"

namespace corrivo::ui::win32 {

class Label : public Control {
 public:
  struct Style {
    COLORREF colour = RGB(0, 0, 0);
    COLORREF disabledColour = RGB(150, 150, 156);
    UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE;  // DrawText flags; DT_WORDBREAK to wrap
  };
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, const std::wstring& caption,
              HFONT font, const Style& style);
  void SetColour(COLORREF colour);
  COLORREF Colour() const { return style_.colour; }
  // The size the caption needs: one line, or wrapped at `wrapWidth`.
  Size Measure(int wrapWidth = 0) const;
  // Takes the size the caption needs (the design's auto-size labels).
  void AutoSize();

 protected:
  void Paint(HDC dc, const RECT& client) override;
  bool Transparent() const override { return true; }
  bool RepaintsOnHover() const override { return false; }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Style style_;
};

}  // namespace corrivo::ui::win32
