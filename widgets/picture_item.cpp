#include "widgets/picture_item.h"

namespace corrivo::ui {

Rect ItemRect(const PictureItem& item, Size widget) {
  switch (item.align) {
    case ItemAlign::Top:
      return Rect::FromEdges(0, 0, widget.width, item.height);
    case ItemAlign::Bottom:
      return Rect::FromEdges(0, widget.height - item.height, widget.width, widget.height);
    case ItemAlign::Left:
      return Rect::FromEdges(0, 0, item.width, widget.height);
    case ItemAlign::Right:
      return Rect::FromEdges(widget.width - item.width, 0, widget.width, widget.height);
    case ItemAlign::Client:
      return {0, 0, widget.width, widget.height};
    case ItemAlign::None:
    case ItemAlign::Custom:
      break;
  }
  return {item.left, item.top, item.width, item.height};
}

Rect PictureDestination(const PictureItem& item, Size widget, Size pictureSize) {
  Rect r = ItemRect(item, widget);
  if (item.stretch) return r;
  return {r.left, r.top, pictureSize.width, pictureSize.height};
}

}  // namespace corrivo::ui
