// Vertical scrolling of a scroll box: range, clamping, the wheel and the drawn scroll bar.
#pragma once

#include "widgets/geometry.h"

namespace corrivo::ui {

constexpr int kWheelStep = 5;

// How far the content can move: content height less the visible height, never negative.
int ScrollRange(int contentHeight, int viewportHeight);
// A position outside 0 to the range lands on the nearest end.
int ClampScroll(int position, int range);
// One wheel notch: delta 0 or more scrolls up by 5, a negative delta down by 5.
int WheelScroll(int position, int wheelDelta, int range);

// The scroll bar's thumb within a track of `trackLength` pixels (its top and length).
struct Thumb {
  int top = 0;
  int length = 0;
  friend bool operator==(const Thumb&, const Thumb&) = default;
};
constexpr int kMinThumb = 24;
Thumb ThumbFor(int trackLength, int viewportHeight, int contentHeight, int position);
// The scroll position that puts the thumb's top at `thumbTop`, clamped.
int PositionForThumb(int trackLength, int viewportHeight, int contentHeight, int thumbTop);

}  // namespace corrivo::ui
