// A push button: a real BUTTON (owner-drawn, so BM_CLICK, Space and Enter work as usual) that
// shows the picture of its state, an optional caption over it, and a hint.
#pragma once

#include <array>

#include "widgets/control_rules.h"
#include "widgets/win32/control_base.h"
#include "widgets/win32/pictures.h"

namespace corrivo::ui::win32 {

class ImageButton : public Control {
 public:
  struct Skin {
    // ImageNormal, ImageOver, ImageDown, ImageDisabled, ImageSelected (by ButtonState).
    std::array<PictureRef, 5> pictures{};
    std::array<COLORREF, 5> captionColours{RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                           RGB(150, 150, 156), RGB(255, 255, 255)};
    bool transparent = true;  // the parent shows around rounded corners
  };
  // `tabStop` false leaves the button out of the Tab order.
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, const std::wstring& caption,
              const Skin& skin, HFONT font = nullptr, bool tabStop = true);
  void SetSelected(bool selected);
  // With AutoSize the button takes the size of its normal picture.
  void AutoSize();
  void SetHint(const std::wstring& hint);
  const std::wstring& Hint() const { return hint_; }
  bool ShowHint = false;

 protected:
  LRESULT OnReflect(const Reflected& r) override;
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  bool Transparent() const override { return skin_.transparent; }

 private:
  void Draw(const DRAWITEMSTRUCT& dis);
  Skin skin_;
  bool selected_ = false;
  std::wstring hint_;
  HWND tooltip_ = nullptr;
};

}  // namespace corrivo::ui::win32
