#include "widgets/win32/image_progress.h"

#include <commctrl.h>

namespace corrivo::ui::win32 {

bool ImageProgress::Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF background,
                           PictureList pictures) {
  const int capL = pictures.size() > kFgLeft && pictures[kFgLeft] ? pictures[kFgLeft]->size.width : 0;
  const int capR = pictures.size() > kFgRight && pictures[kFgRight] ? pictures[kFgRight]->size.width : 0;
  model_ = ImageProgressModel({r.width, r.height}, capL, capR);
  return CreateAs(L"TImageProgress", parent, id, name, r, background, std::move(pictures));
}

void ImageProgress::SetRange(int min, int max) {
  model_.SetRange(min, max);
  Invalidate();
}

void ImageProgress::SetPosition(int p) {
  if (model_.SetPosition(p)) Invalidate();
}

void ImageProgress::SetBarVisible(bool visible) {
  SetVisible(visible);
  if (model_.SetVisible(visible)) Invalidate();
}

LRESULT ImageProgress::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      // The background middle spans the bar less its two 6-pixel caps.
      model_.Resize({LOWORD(lp), HIWORD(lp)});
      Invalidate();
      return 0;
    case PBM_GETPOS:
      return model_.Position();
    case PBM_GETRANGE: {
      if (auto* range = reinterpret_cast<PBRANGE*>(lp)) {
        range->iLow = model_.Min();
        range->iHigh = model_.Max();
      }
      return wp ? model_.Min() : model_.Max();
    }
    case PBM_SETPOS: {
      const int old = model_.Position();
      SetPosition(static_cast<int>(wp));
      return old;
    }
    case PBM_SETRANGE32: {
      const LRESULT old = MAKELRESULT(model_.Min(), model_.Max());
      SetRange(static_cast<int>(wp), static_cast<int>(lp));
      return old;
    }
    default:
      break;
  }
  return ImageRect::Handle(msg, wp, lp);
}

}  // namespace corrivo::ui::win32
