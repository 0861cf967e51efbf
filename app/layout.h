// The window's layout pass as pure functions: every rectangle of the frame, the content area,
// the header strip and the pages, computed from the window size and the components' own sizes.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "widgets/geometry.h"

namespace corrivo::layout {

using ui::Point;
using ui::Rect;
using ui::Size;

constexpr Size kDesignClientSize{681, 591};
constexpr Size kMinimumSize{666, 468};
constexpr int kHeaderTileCount = 4;
constexpr int kCornerRadius = 4;

// The components' own sizes: design values of the pictures and buttons, and the measured
// sizes of the auto-sized labels. The layout moves components; it sizes only those that span.
struct OwnSizes {
  Size closeButton{30, 28};
  Size restoreButton{30, 28};
  Size maximiseButton{30, 28};
  Size minimiseButton{30, 28};
  Size titleIcon{16, 16};
  Size sizeGrip{9, 9};
  Size logo{48, 48};
  Size description{400, 14};
  Size userNotice{0, 0};
  Size corner{4, 4};
};

// The window frame: the background picture, the edges and corners that resize the window,
// the title bar's buttons, the logo and its description, and the content panel.
struct FrameLayout {
  Rect background, topEdge, leftEdge, bottomEdge, rightEdge;
  Rect topRightCorner, topLeftCorner, bottomLeftCorner, bottomRightCorner;
  Rect closeButton, restoreButton, maximiseButton, minimiseButton;
  Rect titleIcon, title, sizeGrip, logo, description;
  Rect userNotice;  // the line under the description
  Rect contentPanel;
};
FrameLayout ArrangeFrame(Size window, const OwnSizes& own);

struct HeaderSizes {
  std::array<Size, kHeaderTileCount> labels{};  // measured tile captions
  std::array<Size, kHeaderTileCount> icons{{{32, 32}, {32, 32}, {32, 32}, {32, 32}}};
  Size contentCorner{4, 4};
};

struct ContentLayout {
  Rect contentBottom, contentRight, contentLeft, contentTop;
  Rect contentTopLeft, contentTopRight, contentBottomRight, contentBottomLeft;
  Rect headerStrip;
  std::array<Rect, kHeaderTileCount> tiles;   // inside the header strip
  std::array<Rect, kHeaderTileCount> labels;  // inside the header strip
  std::array<Rect, kHeaderTileCount> icons;   // inside the header strip
  Rect notebook;                              // the pages
};
// `panel` is the size of the content panel.
ContentLayout ArrangeContent(Size panel, const HeaderSizes& own);

struct GeneralPageOwn {
  Size scanButton{90, 26};
  Size fixButton{90, 26};
  int progressHeight = 16;
  Size selectAll{100, 17};
};
struct GeneralPageLayout {
  Rect scanButton, stopScanButton, fixButton, stopFixButton;
  Rect list;
  int itemColumn = 0;
  int statusColumn = 0;
  Rect progress;
  Rect selectAll;
};
// `page` is the size of the General Fix page.
GeneralPageLayout ArrangeGeneralPage(Size page, const GeneralPageOwn& own);

// The window's shape: a rounded rectangle over (0, 0) to (W + 1, H + 1), corners 4 x 4.
struct RoundShape {
  Rect bounds;
  int ellipse = kCornerRadius;
  friend bool operator==(const RoundShape&, const RoundShape&) = default;
};
RoundShape WindowShape(Size window);
RoundShape PanelShape(Size panelClient);

// The last column's new width, or nothing when it stays: what the other columns leave of the
// list's client width, where `scrollBarWidth` (SM_CXVSCROLL) stays free while the list is empty.
std::optional<int> FitLastColumn(const std::vector<int>& columnWidths, int clientWidth, int itemCount,
                                 int scrollBarWidth);

}  // namespace corrivo::layout
