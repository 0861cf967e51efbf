#include "widgets/win32/page_note.h"

namespace corrivo::ui::win32 {

bool PageNote::Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF colour) {
  RegisterControlClass(L"TPageNote");
  colour_ = colour;
  return CreateWindowFor(L"TPageNote", parent, id, name, r, WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

Panel& PageNote::AddPage(int id, const std::wstring& name, COLORREF colour) {
  auto page = std::make_unique<Panel>();
  const Size s = ClientSize();
  page->Create(hwnd(), id, name, {0, 0, s.width, s.height}, colour);
  page->SetVisible(false);
  model_.AddPage();
  pages_.push_back(std::move(page));
  return *pages_.back();
}

void PageNote::SetTabIndex(int index) {
  const PageSwitch s = model_.SetTabIndex(index);
  if (!s.changed) return;
  Panel& shown = *pages_[static_cast<std::size_t>(s.show)];
  shown.SetVisible(true);
  shown.BringToFront();
  if (s.hide >= 0) pages_[static_cast<std::size_t>(s.hide)]->SetVisible(false);
}

void PageNote::Paint(HDC dc, const RECT& client) { FillSolid(dc, client, colour_); }

LRESULT PageNote::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) {
    for (auto& page : pages_) page->SetBounds({0, 0, LOWORD(lp), HIWORD(lp)});
    return 0;
  }
  return Control::Handle(msg, wp, lp);
}

}  // namespace corrivo::ui::win32
