// State rules of the picture tiles, the page notebooks and the picture buttons.
#include "widgets/control_rules.h"

#include <gtest/gtest.h>

namespace corrivo::ui {
namespace {

TEST(ImageNoteTest, ShowsAPictureItHasOrTheEmptyOneAndIgnoresOtherIndexes) {
  ImageNoteModel note(3);
  EXPECT_EQ(note.ImageIndex(), -1);
  const std::pair<int, int> steps[] = {{2, 2}, {0, 0}, {-1, -1}, {1, 1}, {3, 1}, {5, 1}, {-2, 1}};
  for (const auto& [index, shown] : steps) {
    SCOPED_TRACE(index);
    EXPECT_EQ(note.SetImageIndex(index), index == shown);  // a repaint only for a change
    EXPECT_EQ(note.ImageIndex(), shown);
  }
}

TEST(PageNoteTest, SwitchingShowsTheNewPageBeforeHidingTheOld) {
  PageNoteModel pages;
  EXPECT_FALSE(pages.SetTabIndex(0).changed);  // no pages yet
  for (int i = 0; i < 4; ++i) pages.AddPage();
  EXPECT_EQ(pages.TabIndex(), -1);
  const PageSwitch first = pages.SetTabIndex(0);
  EXPECT_TRUE(first.changed);
  EXPECT_EQ(first.show, 0);
  EXPECT_EQ(first.hide, -1);
  const PageSwitch next = pages.SetTabIndex(3);
  EXPECT_EQ(next.show, 3);
  EXPECT_EQ(next.hide, 0);
  for (int same : {3, 4, -1, 9}) {
    SCOPED_TRACE(same);
    EXPECT_FALSE(pages.SetTabIndex(same).changed);
    EXPECT_EQ(pages.TabIndex(), 3);
  }
}

TEST(ButtonStateTest, TheStateFollowsTheInputAndFallsBackToNormalWithoutAPicture) {
  struct Case {
    ButtonInput in;  // enabled, selected, hot, pressed
    ButtonState expected;
  };
  const Case cases[] = {
      {{true, false, false, false}, ButtonState::Normal},  {{true, false, true, false}, ButtonState::Over},
      {{true, false, true, true}, ButtonState::Down},      {{true, false, false, true}, ButtonState::Over},
      {{false, false, true, true}, ButtonState::Disabled}, {{true, true, false, false}, ButtonState::Selected},
      {{true, true, true, true}, ButtonState::Down},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.expected));
    EXPECT_EQ(VisualState(c.in), c.expected);
  }
  const std::array<bool, 5> onlyNormalAndOver{true, true, false, false, false};
  EXPECT_EQ(PictureState(ButtonState::Over, onlyNormalAndOver), ButtonState::Over);
  EXPECT_EQ(PictureState(ButtonState::Down, onlyNormalAndOver), ButtonState::Normal);
  EXPECT_EQ(PictureState(ButtonState::Selected, onlyNormalAndOver), ButtonState::Normal);
}

}  // namespace
}  // namespace corrivo::ui
