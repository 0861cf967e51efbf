// A box that scrolls one content panel vertically, with a slim scroll bar drawn
// by the skin that hides itself when everything fits.
#pragma once

#include "widgets/win32/panel.h"

namespace corrivo::ui::win32 {

class ScrollBox : public Control {
 public:
  static constexpr int kBarWidth = 12;

  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF colour, int contentId,
              const std::wstring& contentName);
  // The panel that scrolls; its height is the content height.
  Panel& Content() { return content_; }
  void SetContentHeight(int height);
  int ContentHeight() const { return contentHeight_; }
  int Position() const { return position_; }
  int Range() const;
  // Outside 0 to the range lands on the nearest end.
  void SetPosition(int position);
  // Width available to the content (the scroll bar's strip is kept free).
  int ContentWidth() const;
  // Called after the content was re-laid out for a new width.
  std::function<void(int width)> OnContentWidth;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  RECT Track() const;
  void Relayout();
  COLORREF colour_ = RGB(255, 255, 255);
  Panel content_;
  int contentHeight_ = 0;
  int position_ = 0;
  int dragOffset_ = -1;  // thumb drag in progress: cursor offset within the thumb
  bool barHot_ = false;
};

}  // namespace corrivo::ui::win32
