// State rules of the skin's controls, free of any window.
#include <gtest/gtest.h>

#include <tuple>

#include "widgets/control_rules.h"
#include "widgets/picture_item.h"
#include "widgets/progress_rules.h"
#include "widgets/scroll_rules.h"

namespace corrivo::ui {
namespace {

TEST(PageNoteTest, SwitchingShowsTheNewPageBeforeHidingTheOld) {
  PageNoteModel pages;
  EXPECT_FALSE(pages.SetTabIndex(0).changed);  // no pages yet
  for (int i = 0; i < 4; ++i) pages.AddPage();
  EXPECT_EQ(pages.TabIndex(), -1);
  // index, then changed, shown and hidden; the same page or one that does not exist changes nothing.
  const std::tuple<int, bool, int, int> steps[] = {
      {0, true, 0, -1}, {3, true, 3, 0}, {3, false, -1, -1}, {4, false, -1, -1}, {-1, false, -1, -1}};
  for (const auto& [index, changed, show, hide] : steps) {
    const PageSwitch s = pages.SetTabIndex(index);
    EXPECT_EQ(std::tuple(s.changed, s.show, s.hide), std::tuple(changed, show, hide)) << index;
  }
  EXPECT_EQ(pages.TabIndex(), 3);
}

class ProgressTest : public ::testing::Test {
 protected:
  ImageProgressModel bar{{200, 12}, 4, 4};  // 200 pixels with 4-pixel fill caps, range 0 to 100
  const PictureItem& Item(int i) const { return bar.Items()[i]; }
};

TEST_F(ProgressTest, TheFillRoundsUpBetweenItsCapsOverTheBackground) {
  ASSERT_EQ(bar.Items().size(), 6u);
  EXPECT_FALSE(Item(kFgMid).visible || Item(kFgLeft).visible || Item(kFgRight).visible);  // a new bar is empty
  EXPECT_EQ(ItemRect(Item(kBgMid), bar.BarSize()), (Rect{6, 0, 188, 12}));
  EXPECT_EQ(ItemRect(Item(kBgLeft), bar.BarSize()), (Rect{0, 0, 6, 12}));
  EXPECT_EQ(ItemRect(Item(kBgRight), bar.BarSize()), (Rect{194, 0, 6, 12}));
  // position, then the fill's middle width; the caps show from one step above the minimum, and a
  // position past the maximum is kept (painting cuts the fill off).
  const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {4, 0}, {5, 2}, {10, 12}, {50, 92}, {100, 192}, {150, 292}};
  for (const auto& [position, middle] : cases) {
    bar.SetPosition(position);
    EXPECT_EQ(std::tuple(Item(kFgLeft).visible, Item(kFgMid).visible, Item(kFgRight).visible),
              std::tuple(position > 0, position > 0, position > 0)) << position;
    EXPECT_EQ(std::tuple(Item(kFgMid).left, Item(kFgMid).width, Item(kFgRight).left), std::tuple(4, middle, 4 + middle))
        << position;
  }
  EXPECT_EQ(ImageProgressModel::FillWidth(5, 2, 5, 7), 7);
  bar.SetRange(0, 3);
  bar.SetPosition(1);
  EXPECT_EQ(Item(kFgMid).width, 67 - 8);  // 66.67 rounded up, less the caps
}

TEST_F(ProgressTest, AHiddenBarOrAnEmptyRangeKeepsTheValueAndAResizeStretchesTheMiddles) {
  bar.SetPosition(10);
  bar.SetVisible(false);
  EXPECT_FALSE(bar.SetPosition(60));
  EXPECT_EQ(Item(kFgMid).width, 12);  // still the old fill
  EXPECT_TRUE(bar.SetVisible(true));
  EXPECT_EQ(Item(kFgMid).width, 112);
  bar.Resize({300, 12});
  EXPECT_EQ(Item(kBgMid).width, 288);
  EXPECT_EQ(Item(kFgMid).width, 180 - 8);
  bar.SetRange(5, 5);
  EXPECT_FALSE(bar.SetPosition(5));
  EXPECT_EQ(bar.Position(), 5);
}

TEST(ScrollRulesTest, TheRangeWheelAndClampStopAtTheEnds) {
  EXPECT_EQ(ScrollRange(500, 200), 300);
  EXPECT_EQ(ScrollRange(100, 200), 0);
  const std::tuple<int, int, int> clamps[] = {{-4, 300, 0}, {301, 300, 300}, {120, 300, 120}, {7, 0, 0}};
  for (const auto& [position, range, expected] : clamps) EXPECT_EQ(ClampScroll(position, range), expected);
  // position, delta, range: five pixels a notch, a zero delta counting as away from the user.
  const std::tuple<int, int, int, int> wheel[] = {
      {20, 120, 100, 15}, {20, 0, 100, 15},   {3, 120, 100, 0},
      {20, -120, 100, 25}, {98, -120, 100, 100}, {0, -120, 0, 0}};
  for (const auto& [position, delta, range, expected] : wheel) EXPECT_EQ(WheelScroll(position, delta, range), expected);
}

TEST(ScrollRulesTest, TheThumbIsProportionalTravelsWithThePositionAndRoundTrips) {
  EXPECT_EQ(ThumbFor(200, 200, 800, 300), (Thumb{75, 50}));
  EXPECT_EQ(ThumbFor(200, 200, 100, 0), (Thumb{0, 200}));
  EXPECT_EQ(ThumbFor(200, 10, 10000, 0).length, kMinThumb);
  for (int pos : {0, 200, 300, 600})
    EXPECT_EQ(PositionForThumb(200, 200, 800, ThumbFor(200, 200, 800, pos).top), pos);
  EXPECT_EQ(ThumbFor(200, 200, 800, 600), (Thumb{150, 50}));
  EXPECT_EQ(PositionForThumb(200, 200, 800, 999), 600);
  EXPECT_EQ(PositionForThumb(200, 200, 800, -20), 0);
}

}  // namespace
}  // namespace corrivo::ui
