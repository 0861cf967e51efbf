#include "widgets/progress_rules.h"

#include <gtest/gtest.h>

namespace corrivo::ui {
namespace {

class ProgressTest : public ::testing::Test {
 protected:
  // A 200-pixel bar with 4-pixel fill caps, range 0 to 100.
  ImageProgressModel bar{{200, 12}, 4, 4};
  const PictureItem& Item(int i) const { return bar.Items()[i]; }
};

TEST_F(ProgressTest, TheBackgroundSpansTheBarBetweenItsCaps) {
  ASSERT_EQ(bar.Items().size(), 6u);
  EXPECT_EQ(ItemRect(Item(kBgMid), bar.BarSize()), (Rect{6, 0, 188, 12}));
  EXPECT_EQ(ItemRect(Item(kBgLeft), bar.BarSize()), (Rect{0, 0, 6, 12}));
  EXPECT_EQ(ItemRect(Item(kBgRight), bar.BarSize()), (Rect{194, 0, 6, 12}));
}

TEST_F(ProgressTest, AtMinOnlyTheBackgroundShows) {
  bar.SetPosition(0);
  EXPECT_FALSE(Item(kFgMid).visible);
  EXPECT_FALSE(Item(kFgLeft).visible);
  EXPECT_FALSE(Item(kFgRight).visible);
  EXPECT_TRUE(Item(kBgMid).visible);
}

TEST_F(ProgressTest, OneStepAboveMinShowsBothCapsWithEmptyMiddle) {
  bar.SetPosition(1);  // fill 2 pixels, narrower than the caps
  EXPECT_TRUE(Item(kFgLeft).visible);
  EXPECT_TRUE(Item(kFgRight).visible);
  EXPECT_EQ(Item(kFgMid).width, 0);
  EXPECT_EQ(Item(kFgMid).left, 4);
  EXPECT_EQ(Item(kFgRight).left, 4);
}

TEST_F(ProgressTest, FillRoundsUpOnRemainder) {
  EXPECT_EQ(ImageProgressModel::FillWidth(1, 0, 3, 200), 67);   // 66.67
  EXPECT_EQ(ImageProgressModel::FillWidth(50, 0, 100, 200), 100);
  EXPECT_EQ(ImageProgressModel::FillWidth(5, 2, 5, 7), 7);
  bar.SetRange(0, 3);
  bar.SetPosition(1);
  EXPECT_EQ(Item(kFgMid).width, 67 - 8);
  EXPECT_EQ(Item(kFgRight).left, 4 + 59);
}

TEST_F(ProgressTest, TableOfPositions) {
  struct Case {
    int position, mid, rightLeft;
  };
  const Case cases[] = {{10, 12, 16}, {50, 92, 96}, {100, 192, 196}, {4, 0, 4}, {5, 2, 6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position);
    bar.SetPosition(c.position);
    EXPECT_EQ(Item(kFgMid).width, c.mid);
    EXPECT_EQ(Item(kFgMid).left, 4);
    EXPECT_EQ(Item(kFgRight).left, c.rightLeft);
  }
}

TEST_F(ProgressTest, PositionIsNotClamped) {
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 150);
  EXPECT_EQ(Item(kFgMid).width, 300 - 8);  // wider than the bar; painting cuts it off
}

TEST_F(ProgressTest, HiddenBarKeepsTheValueAndDrawsItWhenShown) {
  bar.SetPosition(10);
  bar.SetVisible(false);
  EXPECT_FALSE(bar.SetPosition(60));
  EXPECT_EQ(bar.Position(), 60);
  EXPECT_EQ(Item(kFgMid).width, 12);  // still the old fill
  EXPECT_TRUE(bar.SetVisible(true));
  EXPECT_EQ(Item(kFgMid).width, 112);
}

TEST_F(ProgressTest, EmptyRangeStoresOnly) {
  bar.SetRange(5, 5);
  EXPECT_FALSE(bar.SetPosition(5));
  EXPECT_EQ(bar.Position(), 5);
}

TEST_F(ProgressTest, ResizeStretchesTheBackgroundMiddle) {
  bar.SetPosition(50);
  bar.Resize({300, 12});
  EXPECT_EQ(Item(kBgMid).width, 288);
  EXPECT_EQ(Item(kFgMid).width, 150 - 8);
}

}  // namespace
}  // namespace corrivo::ui
