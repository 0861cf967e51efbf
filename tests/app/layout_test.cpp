#include "app/layout.h"

#include <gtest/gtest.h>

namespace corrivo::layout {
namespace {

struct Named {
  const char* name;
  Rect actual;
  Rect expected;
};

void ExpectAll(const std::vector<Named>& rows) {
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.actual, r.expected);
  }
}

// Distinct sizes so that a component measured by the wrong neighbour shows up.
OwnSizes DistinctSizes() {
  OwnSizes own;
  own.closeButton = {31, 27};
  own.maxButton = {33, 28};
  own.maxMButton = {29, 26};
  own.minButton = {30, 25};
  own.titleIcon = {16, 15};
  own.grip = {9, 8};
  own.mainLogo = {48, 47};
  own.infoLabel = {321, 13};
  own.corner = {4, 4};
  return own;
}

TEST(ArrangeFrameTest, EveryComponentOfTheTable) {
  for (Size window : {Size{681, 591}, Size{1024, 700}, Size{666, 468}}) {
    SCOPED_TRACE(window.width);
    const int W = window.width, H = window.height;
    const FrameLayout f = ArrangeFrame(window, DistinctSizes());
    const int closeLeft = W - 31 - 4;
    const int maxLeft = closeLeft - 33 - 4;
    ExpectAll({
        {"img1", f.img1, {2, 2, W - 4, H - 4}},
        {"Image_top", f.imageTop, {1, 0, W, 2}},
        {"Image_left", f.imageLeft, {0, 0, 2, H}},
        {"Image_bottom", f.imageBottom, {0, H - 2, W, 2}},
        {"Image_right", f.imageRight, {W - 2, 0, 2, H}},
        {"Image_topRight", f.imageTopRight, {W - 4, 0, 4, 4}},
        {"Image_topleft", f.imageTopLeft, {0, 0, 4, 4}},
        {"Image_bottomleft", f.imageBottomLeft, {0, H - 4, 4, 4}},
        {"Image_bottomright", f.imageBottomRight, {W - 4, H - 4, 4, 4}},
        {"Rdbtn_close", f.closeButton, {closeLeft, 4, 31, 27}},
        {"RdBtn_Max", f.maxButton, {maxLeft, 4, 33, 28}},
        {"Rdbtn_MaxM", f.maxMButton, {closeLeft - 33 - 4, 4, 29, 26}},
        {"RdBtn_Min", f.minButton, {maxLeft - 30 - 4, 4, 30, 25}},
        {"Image_aIcon", f.titleIcon, {10, 12, 16, 15}},
        {"Label_Title", f.titleLabel, {28, 11, maxLeft - 30 - 4 - 28, 25}},
        {"img2", f.grip, {W - 13, H - 13, 9, 8}},
        {"Image_Main", f.mainLogo, {40, 40, 48, 47}},
        {"Label_Info", f.infoLabel, {108, 55, 321, 13}},
        {"pnl_BK", f.pnlBK, {11, 104, W - 22, H - 119}},
    });
  }
}

TEST(ArrangeContentTest, EveryComponentInsideTheContentPanel) {
  HeaderSizes own;
  own.labels = {{{60, 14}, {70, 15}, {110, 13}, {96, 16}}};
  own.icons = {{{32, 32}, {30, 31}, {32, 30}, {28, 32}}};
  const int B = 659, BH = 472;
  const ContentLayout c = ArrangeContent({B, BH}, own);
  ExpectAll({
      {"image_content_bottom", c.contentBottom, {0, BH - 3, B, 3}},
      {"Image_content_right", c.contentRight, {B - 2, 0, 2, BH}},
      {"Image_content_left", c.contentLeft, {0, 0, 3, BH}},
      {"Image_content_top", c.contentTop, {0, -1, B, 3}},
      {"Image_content_topleft", c.contentTopLeft, {1, 0, 4, 4}},
      {"Image_content_topright", c.contentTopRight, {B - 4, 0, 4, 4}},
      {"Image_content_bottomright", c.contentBottomRight, {B - 4, BH - 4, 4, 4}},
      {"Image_content_bottomleft", c.contentBottomLeft, {0, BH - 4, 4, 4}},
      {"ImageRect_Top", c.imageRectTop, {2, 2, B - 5, 80}},
      {"img_General", c.tiles[0], {0, 0, 160, 80}},
      {"img_Advanced", c.tiles[1], {162, 0, 160, 80}},
      {"Image_Internet", c.tiles[2], {322, 0, 160, 80}},
      {"Image_MediaPlayer", c.tiles[3], {482, 0, 160, 80}},
      // label: tile left + 80 - half label width, 80 - 15 - label height
      {"Label_General", c.labels[0], {0 + 80 - 30, 65 - 14, 60, 14}},
      {"Label_Advanced", c.labels[1], {162 + 80 - 35, 65 - 15, 70, 15}},
      {"Label_Internet", c.labels[2], {322 + 80 - 55, 65 - 13, 110, 13}},
      {"Lbl_MediaPlayer", c.labels[3], {482 + 80 - 48, 65 - 16, 96, 16}},
      // icon: tile centre - half icon width, label top - icon height
      {"Image_pic_general", c.icons[0], {80 - 16, 51 - 32, 32, 32}},
      {"Img_Pic_Advanced", c.icons[1], {162 + 80 - 15, 50 - 31, 30, 31}},
      {"Image_pic_Internet", c.icons[2], {322 + 80 - 16, 52 - 30, 32, 30}},
      {"Image_pic_MediaPlayer", c.icons[3], {482 + 80 - 14, 49 - 32, 28, 32}},
      {"PageNote", c.pageNote, {2, 83, B - 5, BH - 86}},
  });
}

TEST(ArrangeContentTest, OddLabelWidthsUseIntegerHalves) {
  HeaderSizes own;
  own.labels = {{{61, 13}, {61, 13}, {61, 13}, {61, 13}}};
  const ContentLayout c = ArrangeContent({659, 472}, own);
  EXPECT_EQ(c.labels[0].left, 80 - 30);  // 61 div 2 = 30
}

TEST(ArrangeGeneralPageTest, ButtonsListProgressAndSelectAll) {
  GeneralPageOwn own;
  own.scanButton = {88, 25};
  own.fixButton = {86, 24};
  own.progressHeight = 15;
  own.selectAll = {90, 17};
  const int P = 654, PH = 386;
  const GeneralPageLayout g = ArrangeGeneralPage({P, PH}, own);
  ExpectAll({
      {"Button_Scan", g.buttonScan, {P - 220, PH - 35, 88, 25}},
      {"Button_StopScan", g.buttonStopScan, {P - 220, PH - 35, 88, 25}},
      {"Button_Fix", g.buttonFix, {P - 120, PH - 35, 86, 24}},
      {"Button_StopFix", g.buttonStopFix, {P - 120, PH - 35, 86, 24}},
      {"ListView_Fix", g.listView, {0, 0, P, PH - 35 - 11}},
      {"imgProgressBar_Main", g.progressBar, {0, PH - 30, P - 240, 15}},
      {"CheckBox_SelectAll", g.selectAll, {5, PH - 32, 90, 17}},
  });
  EXPECT_EQ(g.column1, 100);
  EXPECT_EQ(g.column0, P - 105);
}

TEST(ShapeTest, WindowAndPanelCorners) {
  EXPECT_EQ(WindowShape({681, 591}), (RoundShape{{0, 0, 682, 592}, 4}));
  EXPECT_EQ(PanelShape({659, 472}), (RoundShape{{0, 0, 659, 472}, 4}));
}

TEST(FitLastColumnTest, LastColumnTakesTheRest) {
  EXPECT_EQ(FitLastColumn({512, 100}, 700, 3, 17), 188);
  // With no items the vertical scroll bar's width is kept free.
  EXPECT_EQ(FitLastColumn({512, 100}, 700, 0, 17), 171);
  EXPECT_EQ(FitLastColumn({300, 200, 100}, 700, 1, 17), 200);
}

TEST(FitLastColumnTest, AtLeastFiveWhenThereIsRoom) {
  EXPECT_EQ(FitLastColumn({512, 100}, 514, 3, 17), 5);
}

TEST(FitLastColumnTest, NothingChangesWithoutRoomOrColumns) {
  EXPECT_EQ(FitLastColumn({512, 100}, 512, 3, 17), std::nullopt);
  EXPECT_EQ(FitLastColumn({512, 100}, 520, 0, 17), std::nullopt);
  EXPECT_EQ(FitLastColumn({}, 700, 0, 17), std::nullopt);
  EXPECT_EQ(FitLastColumn({512, 100}, 700, 3, 17, /*report=*/false), std::nullopt);
  EXPECT_EQ(FitLastColumn({512, 100}, 700, 3, 17, true, /*destroying=*/true), std::nullopt);
  // A single column is both first and last: it takes the whole width.
  EXPECT_EQ(FitLastColumn({512}, 700, 2, 17), 700);
}

}  // namespace
}  // namespace corrivo::layout
