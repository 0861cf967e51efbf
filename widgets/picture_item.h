// A named picture placed inside an image rectangle or progress bar, and where it lands.
#pragma once

#include <string>

#include "widgets/geometry.h"

namespace corrivo::ui {

enum class ItemAlign { None, Top, Bottom, Left, Right, Client, Custom };

// `picture` is an index into the owner's picture table (-1 = empty); the Win32 layer keeps the
// actual images so that these rules stay free of any drawing code.
struct PictureItem {
  std::wstring name;
  int picture = -1;
  int top = 0;
  int left = 0;
  int width = 0;
  int height = 0;
  bool stretch = false;
  ItemAlign align = ItemAlign::None;
  bool visible = true;
};

// The item's rectangle inside a widget of the given size.
Rect ItemRect(const PictureItem& item, Size widget);

// Where a picture of `pictureSize` is drawn for the item: scaled to the rectangle when the
// item stretches, otherwise unscaled at the rectangle's top-left corner.
Rect PictureDestination(const PictureItem& item, Size widget, Size pictureSize);

}  // namespace corrivo::ui
