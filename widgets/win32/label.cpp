#include "widgets/win32/label.h"

namespace corrivo::ui::win32 {

bool Label::Create(HWND parent, int id, const std::wstring& name, const Rect& r, const std::wstring& caption,
                   HFONT font, const Style& style) {
  RegisterControlClass(L"TLabel");
  style_ = style;
  if (!CreateWindowFor(L"TLabel", parent, id, name, r, WS_VISIBLE, 0, caption)) return false;
  SetFont(font);
  return true;
}

void Label::SetColour(COLORREF colour) {
  if (style_.colour == colour) return;
  style_.colour = colour;
  Invalidate();
}

Size Label::Measure(int wrapWidth) const { return MeasureText(FontHandle(), Text(), wrapWidth); }

void Label::AutoSize() {
  const Rect b = Bounds();
  const Size s = Measure();
  SetBounds({b.left, b.top, s.width, s.height});
}

void Label::Paint(HDC dc, const RECT& client) {
  DrawTextIn(dc, Text(), client, FontHandle(), Enabled() ? style_.colour : style_.disabledColour,
             style_.format);
}

LRESULT Label::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  // Screen readers read a label as static text.
  if (msg == WM_GETDLGCODE) return DLGC_STATIC;
  return Control::Handle(msg, wp, lp);
}

}  // namespace corrivo::ui::win32
