// Rules of the self-drawn window frame: maximise and restore, resizing by edge and grip, the
// minimum size and the mouse wheel.
#pragma once

#include <vector>

#include "app/layout.h"
#include "app/page.h"
#include "sysaccess/windows_version.h"

namespace corrivo {

using ui::Point;
using ui::Rect;

// Any change of size keeps at least the minimum; the position is left as asked.
Rect ApplyMinimumSize(Rect bounds);

enum class Edge { Left, Right, Top, Bottom, Grip };
// The new bounds when the mouse moves to `cursor` (screen coordinates) while dragging `edge`.
Rect ResizeByEdge(Edge edge, Rect bounds, Point cursor);

// Maximise and restore without the system's maximised state: a normal window of work-area size.
class SizeToggle {
 public:
  struct Outcome {
    Rect bounds;
    int itemColumn = 0;  // the scan list's columns
    int statusColumn = 0;
    bool showMaximise = false;  // the button that offers the other state
    bool showRestore = false;
  };
  bool Maximised() const { return maximised_; }
  const Rect& SavedBounds() const { return saved_; }
  // `current` are the window's bounds, `workArea` the nearest monitor's work area, `listWidth`
  // the scan list's width at this moment.
  Outcome Toggle(Rect current, Rect workArea, int listWidth);

 private:
  bool maximised_ = false;
  Rect saved_;
};

// The mouse wheel on the window: scrolling happens only on the Advanced Fix page with the mouse inside the
// scroll box (0 to width, 0 to height in its coordinates); that page repaints either way.
struct WheelOutcome {
  bool scroll = false;
  bool repaint = false;
  int position = 0;
};
WheelOutcome WheelOnWindow(Page page, Point inScrollBox, ui::Size scrollBox, int position, int delta,
                           int range);

// How far the Select All box moves right when the window becomes active.
int SelectAllShiftOn(WindowsVersion windows);

}  // namespace corrivo
