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

// The sizes that the tables call "own": design values of the pictures and buttons, and the
// measured sizes of the auto-sized labels.
struct OwnSizes {
  Size closeButton{30, 28};
  Size maxButton{30, 28};   // RdBtn_Max, the restore button
  Size maxMButton{30, 28};  // Rdbtn_MaxM, the maximise button
  Size minButton{30, 28};
  Size titleIcon{16, 16};
  Size grip{9, 9};
  Size mainLogo{48, 48};
  Size infoLabel{400, 14};
  Size corner{4, 4};
};

struct FrameLayout {
  Rect img1, imageTop, imageLeft, imageBottom, imageRight;
  Rect imageTopRight, imageTopLeft, imageBottomLeft, imageBottomRight;
  Rect closeButton, maxButton, maxMButton, minButton;
  Rect titleIcon, titleLabel, grip, mainLogo, infoLabel;
  Rect pnlBK;
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
  Rect imageRectTop;
  std::array<Rect, kHeaderTileCount> tiles;   // inside ImageRect_Top
  std::array<Rect, kHeaderTileCount> labels;  // inside ImageRect_Top
  std::array<Rect, kHeaderTileCount> icons;   // inside ImageRect_Top
  Rect pageNote;
};
// `panel` is the size of pnl_BK.
ContentLayout ArrangeContent(Size panel, const HeaderSizes& own);

struct GeneralPageOwn {
  Size scanButton{90, 26};
  Size fixButton{90, 26};
  int progressHeight = 16;
  Size selectAll{100, 17};
};
struct GeneralPageLayout {
  Rect buttonScan, buttonStopScan, buttonFix, buttonStopFix;
  Rect listView;
  int column0 = 0;
  int column1 = 0;
  Rect progressBar;
  Rect selectAll;
};
// `page` is the size of PageNote_General.
GeneralPageLayout ArrangeGeneralPage(Size page, const GeneralPageOwn& own);

// The window's shape: a rounded rectangle over (0, 0) to (W + 1, H + 1), corners 4 x 4.
struct RoundShape {
  Rect bounds;
  int ellipse = kCornerRadius;
  friend bool operator==(const RoundShape&, const RoundShape&) = default;
};
RoundShape WindowShape(Size window);
RoundShape PanelShape(Size panelClient);

// The last column's new width, or nothing when it stays. `report` and `destroying` describe the
// list; `scrollBarWidth` is SM_CXVSCROLL, taken off when the list has no items.
std::optional<int> FitLastColumn(const std::vector<int>& columnWidths, int clientWidth, int itemCount,
                                 int scrollBarWidth, bool report = true, bool destroying = false);

}  // namespace corrivo::layout
