// The window's layout pass: what stays anchored where as the window changes size, and which
// components keep their own size; the Advanced Fix page's category tiles and rows of fixes.
#include "app/layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/advanced_layout.h"

namespace corrivo::layout {
namespace {

TEST(ArrangeFrameTest, FrameFollowsTheBordersAndTitleButtonsTheTopRightCorner) {
  OwnSizes own;  // distinct sizes, so that a component measured by a neighbour shows up
  own.closeButton = {31, 27};
  own.restoreButton = {33, 28};
  own.maximiseButton = {29, 26};
  own.minimiseButton = {30, 25};
  own.titleIcon = {16, 15};
  own.sizeGrip = {9, 8};
  own.logo = {48, 47};
  own.description = {321, 13};
  for (Size window : {kDesignClientSize, Size{1024, 700}, kMinimumSize}) {
    SCOPED_TRACE(window.width);
    const int W = window.width, H = window.height;
    const FrameLayout f = ArrangeFrame(window, own);
    EXPECT_EQ(f.leftEdge, (Rect{0, 0, 2, H}));
    EXPECT_EQ(f.rightEdge, (Rect{W - 2, 0, 2, H}));
    EXPECT_EQ(f.topEdge, (Rect{1, 0, W, 2}));
    EXPECT_EQ(f.bottomEdge, (Rect{0, H - 2, W, 2}));
    EXPECT_EQ(f.topLeftCorner, (Rect{0, 0, 4, 4}));
    EXPECT_EQ(f.topRightCorner, (Rect{W - 4, 0, 4, 4}));
    EXPECT_EQ(f.bottomLeftCorner, (Rect{0, H - 4, 4, 4}));
    EXPECT_EQ(f.bottomRightCorner, (Rect{W - 4, H - 4, 4, 4}));
    EXPECT_EQ(f.background, Rect::FromEdges(2, 2, W - 2, H - 2));
    EXPECT_EQ(f.contentPanel, Rect::FromEdges(11, 104, W - 11, H - 15));
    EXPECT_EQ(f.sizeGrip, (Rect{W - 13, H - 13, 9, 8}));
    EXPECT_EQ(f.closeButton, (Rect{W - 4 - 31, 4, 31, 27}));
    EXPECT_EQ(f.restoreButton, (Rect{f.closeButton.left - 4 - 33, 4, 33, 28}));
    // The maximise button takes the restore button's place; one of the two shows at a time.
    EXPECT_EQ(f.maximiseButton, (Rect{f.restoreButton.left, 4, 29, 26}));
    EXPECT_EQ(f.minimiseButton, (Rect{f.restoreButton.left - 4 - 30, 4, 30, 25}));
    EXPECT_EQ(f.title, Rect::FromEdges(28, 11, f.minimiseButton.left, 11 + 25));  // up to the buttons
    EXPECT_EQ(f.titleIcon, (Rect{10, 12, 16, 15}));
    EXPECT_EQ(f.logo, (Rect{40, 40, 48, 47}));
    EXPECT_EQ(f.description, (Rect{40 + 48 + 20, 55, 321, 13}));
  }
}

TEST(ArrangeContentTest, BordersFrameThePanelAndTheTilesSitInARowAboveThePages) {
  HeaderSizes own;
  own.labels = {{{60, 14}, {71, 15}, {110, 13}, {96, 16}}};
  own.icons = {{{32, 32}, {30, 31}, {32, 30}, {28, 32}}};
  own.contentCorner = {5, 6};
  const int B = 659, BH = 472;
  const ContentLayout c = ArrangeContent({B, BH}, own);
  EXPECT_EQ(c.contentTop, (Rect{0, -1, B, 3}));
  EXPECT_EQ(c.contentLeft, (Rect{0, 0, 3, BH}));
  EXPECT_EQ(c.contentBottom, (Rect{0, BH - 3, B, 3}));
  EXPECT_EQ(c.contentRight, (Rect{B - 2, 0, 2, BH}));
  EXPECT_EQ(c.contentTopLeft, (Rect{1, 0, 5, 6}));
  EXPECT_EQ(c.contentTopRight, (Rect{B - 4, 0, 5, 6}));
  EXPECT_EQ(c.contentBottomLeft, (Rect{0, BH - 4, 5, 6}));
  EXPECT_EQ(c.contentBottomRight, (Rect{B - 4, BH - 4, 5, 6}));
  EXPECT_EQ(c.headerStrip, (Rect{2, 2, B - 5, 80}));
  EXPECT_EQ(c.notebook, Rect::FromEdges(2, 83, B - 3, BH - 3));
  for (int i = 0; i < kHeaderTileCount; ++i) {
    SCOPED_TRACE(i);
    const Rect& t = c.tiles[i];
    // 160 x 80 each, the first two 2 pixels apart, the others side by side.
    EXPECT_EQ(t, (Rect{i == 0 ? 0 : c.tiles[i - 1].Right() + (i == 1 ? 2 : 0), 0, 160, 80}));
    // The label 15 pixels above the tile's bottom, the icon on it; both centred (an odd width
    // leans left by the half pixel).
    const Size l = own.labels[i], ic = own.icons[i];
    EXPECT_EQ(c.labels[i], (Rect{t.left + 80 - l.width / 2, 80 - 15 - l.height, l.width, l.height}));
    EXPECT_EQ(c.icons[i], (Rect{t.left + 80 - ic.width / 2, c.labels[i].top - ic.height, ic.width, ic.height}));
  }
}

TEST(ArrangeGeneralPageTest, ButtonsStayBottomRightAndTheListTakesTheRest) {
  const GeneralPageOwn own{{88, 25}, {86, 24}, 15, {90, 17}};
  for (Size page : {Size{654, 386}, Size{1000, 600}}) {
    SCOPED_TRACE(page.width);
    const GeneralPageLayout g = ArrangeGeneralPage(page, own);
    EXPECT_EQ(g.scanButton, (Rect{page.width - 220, page.height - 35, 88, 25}));
    EXPECT_EQ(g.fixButton, (Rect{g.scanButton.left + 100, g.scanButton.top, 86, 24}));
    EXPECT_EQ(g.stopScanButton, g.scanButton);  // each Stop button under the button it stops
    EXPECT_EQ(g.stopFixButton, g.fixButton);
    EXPECT_EQ(g.list, Rect::FromEdges(0, 0, page.width, g.scanButton.top - 11));
    EXPECT_EQ(g.statusColumn, 100);
    EXPECT_EQ(g.itemColumn + g.statusColumn, page.width - 5);
    EXPECT_EQ(g.progress, (Rect{0, g.scanButton.top + 5, g.scanButton.left - 20, 15}));
    EXPECT_EQ(g.selectAll, (Rect{5, g.scanButton.top + 3, 90, 17}));
  }
  EXPECT_EQ(WindowShape({681, 591}), (RoundShape{{0, 0, 682, 592}, 4}));
  EXPECT_EQ(PanelShape({659, 472}), (RoundShape{{0, 0, 659, 472}, 4}));
}

TEST(FitLastColumnTest, LastColumnTakesWhatTheOthersLeave) {
  struct Case {
    std::vector<int> widths;
    int client, items;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {{512, 100}, 700, 3, 188},         {{300, 200, 100}, 700, 1, 200},
      {{512}, 700, 2, 700},              // a single column is also the last
      {{512, 100}, 700, 0, 171},         // no items: room kept for the scroll bar (17)
      {{512, 100}, 514, 3, 5},           // at least five when there is room at all
      {{512, 100}, 512, 3, std::nullopt}, {{512, 100}, 520, 0, std::nullopt}, {{}, 700, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.client);
    EXPECT_EQ(FitLastColumn(c.widths, c.client, c.items, 17), c.expected);
  }
}

TEST(AdvancedPageTest, TilesStackDownTheLeftAndThePagesFillTheRest) {
  std::set<std::wstring> names;
  for (int n = 1; n <= kCategoryCount; ++n) {
    SCOPED_TRACE(n);
    const CategoryInfo& info = Categories()[n - 1];
    EXPECT_EQ(info.number, n);
    // Every control name is its own: the language file and the test driver go by them.
    for (const wchar_t* name : {info.tile, info.label, info.page, info.scrollBox, info.panel})
      EXPECT_TRUE(names.insert(name).second);
    const Rect tile = CategoryTileRect(n);
    EXPECT_EQ(tile, (Rect{21, 48 + 25 * (n - 1), 85, 25}));
    const Rect label = CategoryLabelRect(n, {50, 13});
    EXPECT_EQ(label.left, 30);
    EXPECT_EQ(label.Extent(), (Size{50, 13}));
    EXPECT_NEAR(label.top - tile.top, 6, 1);  // about centred on the tile
  }
  const AdvancedPageLayout a = ArrangeAdvancedPage({654, 386}, {420, 13}, {85, 25});
  EXPECT_EQ(a.panel, (Rect{0, 0, 654, 386}));
  EXPECT_EQ(a.categoryNotebook, Rect::FromEdges(107, 41, 654 - 22 - 85 - 22 + 107, 386 - 22));
  EXPECT_EQ(a.caution, (Rect{22, 22, 420, 13}));
}

TEST(FixRowsTest, RowsStackWithTheLabelLeftAndTheButtonRight) {
  const RowMetrics m;  // margin 12, gap 14, padding 9, button 64 x 24
  const auto rows = ArrangeFixRows(500, {13, 39}, m);
  ASSERT_EQ(rows.size(), 2u);
  const int labelWidth = 500 - 2 * 12 - 14 - 64;
  EXPECT_EQ(RowLabelWidth(500, m), labelWidth);
  // A short label: the button sets the height and the label is centred beside it.
  EXPECT_EQ(rows[0].row, (Rect{0, 0, 500, 24 + 18}));
  EXPECT_EQ(rows[0].label, (Rect{12, (42 - 13) / 2, labelWidth, 13}));
  EXPECT_EQ(rows[0].button, (Rect{500 - 12 - 64, 9, 64, 24}));
  // A tall label sets the height; each row starts where the one before ends.
  EXPECT_EQ(rows[1].row, (Rect{0, 42, 500, 39 + 18}));
  EXPECT_EQ(rows[1].label, (Rect{12, 42 + 9, labelWidth, 39}));
  EXPECT_EQ(rows[1].button, (Rect{424, 42 + (57 - 24) / 2, 64, 24}));
  EXPECT_EQ(RowsHeight(rows), 42 + 57);
  EXPECT_EQ(RowsHeight({}), 0);
  // Too narrow a panel: the label keeps 40 pixels and the button stays right of it.
  const auto narrow = ArrangeFixRows(60, {13});
  EXPECT_EQ(narrow[0].label.width, 40);
  EXPECT_EQ(narrow[0].button.left, narrow[0].label.Right() + 14);
}

}  // namespace
}  // namespace corrivo::layout
