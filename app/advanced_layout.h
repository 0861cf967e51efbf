// The Advanced Fix page: its six categories, their fixed places, the page's layout pass and
// the rows of one-click fixes inside each category's scroll box.
#pragma once

#include <array>
#include <vector>

#include "widgets/geometry.h"

namespace corrivo::layout {

using ui::Rect;
using ui::Size;

constexpr int kCategoryCount = 6;

struct CategoryInfo {
  int number;  // 1 to 6
  const wchar_t* tile;
  const wchar_t* label;
  const wchar_t* caption;
  const wchar_t* page;
  const wchar_t* scrollBox;
  const wchar_t* panel;
};
// Categories 1 to 6 in their fixed order (index = number - 1).
const std::array<CategoryInfo, kCategoryCount>& Categories();

constexpr Size kCategoryTileSize{85, 25};
// The tiles stack at left 21, the labels lie over them at left 30.
Rect CategoryTileRect(int category);
Rect CategoryLabelRect(int category, Size labelSize);

struct AdvancedPageLayout {
  Rect panel;             // fills the page
  Rect categoryNotebook;  // one page per category, right of the tiles
  Rect caution;           // the line above it
};
// `notebook` is the size of the window's pages; the category pages keep their left 107 and top 41.
AdvancedPageLayout ArrangeAdvancedPage(Size notebook, Size cautionLabel,
                                       Size categoryTile = kCategoryTileSize);

// Rows of fixes inside a scroll box: a wrapped label and a "Fix" button on the right.
struct RowMetrics {
  int margin = 12;       // left and right padding of the panel
  int gap = 14;          // between label and button
  int padding = 9;       // above and below the taller of label and button
  Size button{64, 24};
};
struct RowLayout {
  Rect label;
  Rect button;
  Rect row;  // the whole band, for separators and hover
};
// The label width for a panel of `panelWidth` (what the labels are measured at).
int RowLabelWidth(int panelWidth, const RowMetrics& m = {});
// One row per measured label height, top to bottom; the last row's bottom is the content height.
std::vector<RowLayout> ArrangeFixRows(int panelWidth, const std::vector<int>& labelHeights,
                                      const RowMetrics& m = {});
int RowsHeight(const std::vector<RowLayout>& rows);

}  // namespace corrivo::layout
