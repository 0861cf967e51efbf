// State rules of the skin's controls, free of any window.
#include <gtest/gtest.h>

#include <tuple>

#include "widgets/control_rules.h"
#include "widgets/picture_item.h"
#include "widgets/progress_rules.h"

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

}  // namespace
}  // namespace corrivo::ui
