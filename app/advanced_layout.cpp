#include "app/advanced_layout.h"

#include <algorithm>

namespace corrivo::layout {

const std::array<CategoryInfo, kCategoryCount>& Categories() {
  static const std::array<CategoryInfo, kCategoryCount> kCategories{{
      {1, L"Imgnot_Desktop", L"Label_Desktop", L"Desktop", L"PageTab_1_Desktop", L"ScrollBox_Desktop",
       L"Panel_Desktop"},
      {2, L"ImageNote_System", L"Label_System", L"System", L"PageTab_2_System", L"ScrollBox_System",
       L"Panel_System"},
      {3, L"ImageNote_IE", L"Label_InternetExplorer", L"IE", L"PageTab_3_IE", L"ScrollBox_IE", L"Panel_IE"},
      {4, L"ImageNote_MediaPlayer", L"Label_MediaPlayer", L"Media Player", L"PageTab_4_MediaPlayer",
       L"ScrollBox_MediaPlayer", L"Panel_MediaPlayer"},
      {5, L"ImageNote_Security", L"Label_Security", L"Security", L"PageTab_5_Security",
       L"ScrollBox_Security", L"Panel_Security"},
      {6, L"ImageNote_Addtional", L"Label_Additional", L"Additional", L"PageTab_6_Addition",
       L"ScrollBox_Addition", L"Panel_Addition"},
  }};
  return kCategories;
}

Rect CategoryTileRect(int category) {
  static constexpr int kTops[kCategoryCount] = {48, 73, 98, 123, 148, 173};
  return {21, kTops[category - 1], kCategoryTileSize.width, kCategoryTileSize.height};
}

Rect CategoryLabelRect(int category, Size labelSize) {
  static constexpr int kTops[kCategoryCount] = {54, 79, 103, 129, 154, 179};
  return {30, kTops[category - 1], labelSize.width, labelSize.height};
}

AdvancedPageLayout ArrangeAdvancedPage(Size notebook, Size cautionLabel, Size categoryTile) {
  AdvancedPageLayout a;
  a.panel = {0, 0, notebook.width, notebook.height};
  a.categoryNotebook = {107, 41, notebook.width - 22 - categoryTile.width - 22, a.panel.height - 41 - 22};
  a.caution = {22, 22, cautionLabel.width, cautionLabel.height};
  return a;
}

int RowLabelWidth(int panelWidth, const RowMetrics& m) {
  return std::max(40, panelWidth - 2 * m.margin - m.gap - m.button.width);
}

std::vector<RowLayout> ArrangeFixRows(int panelWidth, const std::vector<int>& labelHeights,
                                      const RowMetrics& m) {
  std::vector<RowLayout> rows;
  const int labelWidth = RowLabelWidth(panelWidth, m);
  const int buttonLeft = std::max(m.margin + labelWidth + m.gap, panelWidth - m.margin - m.button.width);
  int top = 0;
  for (int h : labelHeights) {
    const int inner = std::max(h, m.button.height);
    const int height = inner + 2 * m.padding;
    RowLayout r;
    r.row = {0, top, panelWidth, height};
    r.label = {m.margin, top + (height - h) / 2, labelWidth, h};
    r.button = {buttonLeft, top + (height - m.button.height) / 2, m.button.width, m.button.height};
    rows.push_back(r);
    top += height;
  }
  return rows;
}

int RowsHeight(const std::vector<RowLayout>& rows) { return rows.empty() ? 0 : rows.back().row.Bottom(); }

}  // namespace corrivo::layout
