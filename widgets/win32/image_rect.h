// A strip of one background colour with picture items painted over it in collection order.
#pragma once

#include <vector>

#include "widgets/picture_item.h"
#include "widgets/win32/control_base.h"
#include "widgets/win32/pictures.h"

namespace corrivo::ui::win32 {

class ImageRect : public Control {
 public:
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF background,
              PictureList pictures, std::vector<PictureItem> items);
  std::vector<PictureItem>& Items() { return items_; }

 protected:
  bool CreateAs(const wchar_t* className, HWND parent, int id, const std::wstring& name, const Rect& r,
                COLORREF background, PictureList pictures);
  void Paint(HDC dc, const RECT& client) override;
  bool RepaintsOnHover() const override { return false; }
  // The items the paint pass draws (the progress bar keeps its own).
  virtual const std::vector<PictureItem>& PaintedItems() const { return items_; }

  PictureList pictures_;
  COLORREF background_ = RGB(255, 255, 255);

 private:
  std::vector<PictureItem> items_;
};

}  // namespace corrivo::ui::win32
