#include "app/frame_rules.h"

#include <algorithm>

#include "widgets/scroll_rules.h"

namespace corrivo {

Rect ApplyMinimumSize(Rect bounds) {
  bounds.width = std::max(bounds.width, layout::kMinimumSize.width);
  bounds.height = std::max(bounds.height, layout::kMinimumSize.height);
  return bounds;
}

Rect ResizeByEdge(Edge edge, Rect b, Point cursor) {
  Rect r = b;
  switch (edge) {
    case Edge::Left:
      r.left = cursor.x;
      r.width = b.left - cursor.x + b.width;
      break;
    case Edge::Right:
      r.width = cursor.x - b.left;
      break;
    case Edge::Top:
      r.top = cursor.y;
      r.height = b.top - cursor.y + b.height;
      break;
    case Edge::Bottom:
      r.height = cursor.y - b.top;
      break;
    case Edge::Grip:
      r.width = cursor.x - b.left;
      r.height = cursor.y - b.top;
      break;
  }
  return ApplyMinimumSize(r);
}

SizeToggle::Outcome SizeToggle::Toggle(Rect current, Rect workArea, int listWidth) {
  Outcome o;
  if (maximised_) {
    maximised_ = false;
    o.bounds = saved_;
    o.itemColumn = listWidth - 150;
    o.statusColumn = 100;
    o.showMaximise = true;
    o.showRestore = false;
  } else {
    saved_ = current;
    o.bounds = workArea;
    o.itemColumn = listWidth - 100;
    o.statusColumn = 100;
    maximised_ = true;
    o.showMaximise = false;
    o.showRestore = true;
  }
  return o;
}

WheelOutcome WheelOnWindow(Page page, Point p, ui::Size box, int position, int delta, int range) {
  WheelOutcome w;
  w.position = position;
  if (page != Page::AdvancedFix) return w;
  w.repaint = true;
  if (p.x < 0 || p.x > box.width || p.y < 0 || p.y > box.height) return w;
  w.scroll = true;
  w.position = ui::WheelScroll(position, delta, range);
  return w;
}

int SelectAllShiftOn(WindowsVersion windows) { return windows == WindowsVersion::XP ? 3 : 0; }

}  // namespace corrivo
