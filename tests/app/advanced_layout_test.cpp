#include "app/advanced_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace corrivo::layout {
namespace {

TEST(CategoriesTest, FixedOrderAndNames) {
  const auto& c = Categories();
  const wchar_t* tiles[] = {L"Imgnot_Desktop", L"ImageNote_System", L"ImageNote_IE",
                            L"ImageNote_MediaPlayer", L"ImageNote_Security", L"ImageNote_Addtional"};
  const wchar_t* captions[] = {L"Desktop", L"System", L"IE", L"Media Player", L"Security", L"Additional"};
  const wchar_t* scroll[] = {L"ScrollBox_Desktop", L"ScrollBox_System", L"ScrollBox_IE",
                             L"ScrollBox_MediaPlayer", L"ScrollBox_Security", L"ScrollBox_Addition"};
  const wchar_t* pages[] = {L"PageTab_1_Desktop", L"PageTab_2_System", L"PageTab_3_IE",
                            L"PageTab_4_MediaPlayer", L"PageTab_5_Security", L"PageTab_6_Addition"};
  const wchar_t* labels[] = {L"Label_Desktop", L"Label_System", L"Label_InternetExplorer",
                             L"Label_MediaPlayer", L"Label_Security", L"Label_Additional"};
  for (int i = 0; i < kCategoryCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(c[i].number, i + 1);
    EXPECT_EQ(std::wstring(c[i].tile), tiles[i]);
    EXPECT_EQ(std::wstring(c[i].caption), captions[i]);
    EXPECT_EQ(std::wstring(c[i].scrollBox), scroll[i]);
    EXPECT_EQ(std::wstring(c[i].page), pages[i]);
    EXPECT_EQ(std::wstring(c[i].label), labels[i]);
  }
}

TEST(CategoriesTest, TilesAndLabelsStackAtTheirPlaces) {
  const int tileTops[] = {48, 73, 98, 123, 148, 173};
  const int labelTops[] = {54, 79, 103, 129, 154, 179};
  for (int n = 1; n <= kCategoryCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(CategoryTileRect(n), (Rect{21, tileTops[n - 1], 85, 25}));
    EXPECT_EQ(CategoryLabelRect(n, {50, 13}), (Rect{30, labelTops[n - 1], 50, 13}));
  }
}

TEST(ArrangeAdvancedPageTest, PanelPageControlAndTips) {
  const AdvancedPageLayout a = ArrangeAdvancedPage({654, 386}, {420, 13});
  EXPECT_EQ(a.panel, (Rect{0, 0, 654, 386}));
  EXPECT_EQ(a.pageControl, (Rect{107, 41, 654 - 22 - 85 - 22, 386 - 41 - 22}));
  EXPECT_EQ(a.tips, (Rect{22, 22, 420, 13}));
}

TEST(FixRowsTest, RowsStackWithLabelLeftAndButtonRight) {
  RowMetrics m;
  const auto rows = ArrangeFixRows(500, {13, 39, 26}, m);
  ASSERT_EQ(rows.size(), 3u);
  const int labelWidth = 500 - 24 - 14 - 64;
  EXPECT_EQ(RowLabelWidth(500, m), labelWidth);
  // Row 1: the button (24) is taller than the label (13).
  EXPECT_EQ(rows[0].row, (Rect{0, 0, 500, 42}));
  EXPECT_EQ(rows[0].label, (Rect{12, 14, labelWidth, 13}));
  EXPECT_EQ(rows[0].button, (Rect{500 - 12 - 64, 9, 64, 24}));
  // Row 2 starts where row 1 ends and is as tall as its label needs.
  EXPECT_EQ(rows[1].row, (Rect{0, 42, 500, 57}));
  EXPECT_EQ(rows[1].label, (Rect{12, 51, labelWidth, 39}));
  EXPECT_EQ(rows[1].button, (Rect{424, 42 + 16, 64, 24}));
  EXPECT_EQ(RowsHeight(rows), 42 + 57 + 44);
  EXPECT_EQ(RowsHeight({}), 0);
}

TEST(FixRowsTest, NarrowPanelKeepsTheButtonRightOfTheLabel) {
  const auto rows = ArrangeFixRows(60, {13});
  EXPECT_GE(rows[0].button.left, rows[0].label.Right());
}

}  // namespace
}  // namespace corrivo::layout
