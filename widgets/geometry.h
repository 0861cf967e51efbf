// Plain rectangles, sizes and points shared by the layout rules and the painting code.
#pragma once

namespace corrivo::ui {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Left, top, width and height, the way the layout tables state positions.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  Size Extent() const { return {width, height}; }
  bool Contains(Point p) const { return p.x >= left && p.x < Right() && p.y >= top && p.y < Bottom(); }
  Point Centre() const { return {left + width / 2, top + height / 2}; }
  static Rect FromEdges(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace corrivo::ui
