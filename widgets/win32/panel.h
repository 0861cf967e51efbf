// Plain containers and pictures: a panel painted in one colour (or by a picture) that hosts
// child controls, and an image that shows one picture.
#pragma once

#include "widgets/win32/control_base.h"
#include "widgets/win32/pictures.h"

namespace corrivo::ui::win32 {

class Panel : public Control {
 public:
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF colour,
              DWORD extraStyle = 0);
  void SetColour(COLORREF colour);
  COLORREF Colour() const { return colour_; }
  // Drawn over the colour, below the children (separators, decorations).
  std::function<void(HDC, const RECT&)> OnPaintExtra;
  // A picture that lies over the panel and everything inside it, in the panel's client
  // coordinates (a border over the edges of the children): each control of this layer that
  // paints itself draws the part over it after its own paint, so the border needs no windows
  // (the system's controls and the buttons, drawn by the system's paint, do not).
  void SetDecoration(std::size_t index, PictureRef picture, const Rect& at);
  const Overlays* DecorationsOverChildren() const override { return &decorations_; }

 protected:
  void Paint(HDC dc, const RECT& client) override;
  bool RepaintsOnHover() const override { return false; }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  COLORREF colour_ = RGB(255, 255, 255);
  Overlays decorations_;
  Brush brush_;  // the background standard controls on the panel are drawn on
};

// A picture control; `Transparent` lets what lies below show around the picture's shape.
class Image : public Control {
 public:
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, PictureRef picture,
              bool transparent = true);
  void SetPicture(PictureRef picture);
  // A picture drawn over this one (see Overlays).
  void SetOverlay(std::size_t index, PictureRef picture, const Rect& at);

 protected:
  void Paint(HDC dc, const RECT& client) override;
  bool Transparent() const override { return transparent_; }
  bool RepaintsOnHover() const override { return false; }

 private:
  PictureRef picture_;
  Overlays overlays_;
  bool transparent_ = true;
};

}  // namespace corrivo::ui::win32
