// A picture tile: a clickable picture that shows one of its named pictures by ImageIndex.
#pragma once

#include "widgets/control_rules.h"
#include "widgets/win32/control_base.h"
#include "widgets/win32/pictures.h"

namespace corrivo::ui::win32 {

class ImageNote : public Control {
 public:
  // `items` become "Picture_0", "Picture_1", ...; the note starts with no picture (-1).
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, PictureList items,
              const std::wstring& caption = {});
  int ImageIndex() const { return model_.ImageIndex(); }
  void SetImageIndex(int index);
  // A picture drawn over the shown one (see Overlays).
  void SetOverlay(std::size_t index, PictureRef picture, const Rect& at);
  bool Stretch = true;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  bool Transparent() const override { return true; }
  bool RepaintsOnHover() const override { return false; }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  PictureList items_;
  Overlays overlays_;
  ImageNoteModel model_;
};

}  // namespace corrivo::ui::win32
