// A progress bar drawn from six pictures; it answers the common progress bar's
// PBM_GETPOS, PBM_GETRANGE, PBM_SETPOS and PBM_SETRANGE32 so that tools can read it.
#pragma once

#include "widgets/progress_rules.h"
#include "widgets/win32/image_rect.h"

namespace corrivo::ui::win32 {

class ImageProgress : public ImageRect {
 public:
  // `pictures` are bg_mid, bg_l, bg_r, fg_mid, fg_l, fg_r; the fill caps take their widths.
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF background,
              PictureList pictures);
  void SetRange(int min, int max);
  int Position() const { return model_.Position(); }
  void SetPosition(int p);
  // Visibility, then the position again (a bar shown again draws its last value).
  void SetBarVisible(bool visible);
  const ImageProgressModel& Model() const { return model_; }

 protected:
  const std::vector<PictureItem>& PaintedItems() const override { return model_.Items(); }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  ImageProgressModel model_{{0, 0}, 0, 0};
};

}  // namespace corrivo::ui::win32
