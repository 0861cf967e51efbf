#include "widgets/control_rules.h"

#include <gtest/gtest.h>

namespace corrivo::ui {
namespace {

TEST(ImageNoteTest, ValidIndexShowsThatPicture) {
  ImageNoteModel note(3);
  EXPECT_EQ(note.ImageIndex(), -1);
  EXPECT_TRUE(note.SetImageIndex(2));
  EXPECT_EQ(note.ImageIndex(), 2);
  EXPECT_EQ(note.ShownPicture(), 2);
}

TEST(ImageNoteTest, MinusOneShowsEmptyPicture) {
  ImageNoteModel note(3);
  note.SetImageIndex(1);
  EXPECT_TRUE(note.SetImageIndex(-1));
  EXPECT_EQ(note.ImageIndex(), -1);
  EXPECT_EQ(note.ShownPicture(), -1);
}

TEST(ImageNoteTest, OutOfRangeIsIgnored) {
  ImageNoteModel note(3);
  note.SetImageIndex(1);
  for (int bad : {5, 3, -2}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(note.SetImageIndex(bad));
    EXPECT_EQ(note.ImageIndex(), 1);
    EXPECT_EQ(note.ShownPicture(), 1);
  }
}

TEST(ImageNoteTest, WhileLoadingOnlyTheNumberIsStored) {
  ImageNoteModel note(2);
  note.BeginLoading();
  EXPECT_FALSE(note.SetImageIndex(7));
  EXPECT_EQ(note.ImageIndex(), 7);
  EXPECT_EQ(note.ShownPicture(), -1);
  note.SetImageIndex(1);
  note.EndLoading();
  EXPECT_EQ(note.ShownPicture(), 1);
}

TEST(PageNoteTest, SwitchShowsNewThenHidesOld) {
  PageNoteModel pages;
  EXPECT_EQ(pages.TabIndex(), -1);
  EXPECT_EQ(pages.ActivePage(), -1);
  for (int i = 0; i < 4; ++i) pages.AddPage();
  PageSwitch first = pages.SetTabIndex(0);
  EXPECT_TRUE(first.changed);
  EXPECT_EQ(first.show, 0);
  EXPECT_EQ(first.hide, -1);
  PageSwitch next = pages.SetTabIndex(2);
  EXPECT_EQ(next.show, 2);
  EXPECT_EQ(next.hide, 0);
  EXPECT_EQ(pages.ActivePage(), 2);
}

TEST(PageNoteTest, SameOrInvalidIndexDoesNothing) {
  PageNoteModel pages;
  pages.AddPage();
  pages.AddPage();
  pages.SetTabIndex(1);
  for (int bad : {1, 2, -1, 9}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(pages.SetTabIndex(bad).changed);
    EXPECT_EQ(pages.TabIndex(), 1);
  }
  EXPECT_EQ(pages.SetActivePage(0).show, 0);
  EXPECT_EQ(pages.TabIndex(), 0);
}

TEST(PageNoteTest, NoPagesNoActivePage) {
  PageNoteModel pages;
  EXPECT_FALSE(pages.SetTabIndex(0).changed);
  EXPECT_EQ(pages.ActivePage(), -1);
}

TEST(ButtonStateTest, StatesByInput) {
  struct Case {
    ButtonInput in;
    ButtonState expected;
  };
  const Case cases[] = {
      {{true, false, false, false}, ButtonState::Normal},
      {{true, false, true, false}, ButtonState::Over},
      {{true, false, true, true}, ButtonState::Down},
      {{true, false, false, true}, ButtonState::Over},
      {{false, false, true, true}, ButtonState::Disabled},
      {{true, true, false, false}, ButtonState::Selected},
      {{true, true, true, true}, ButtonState::Down},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.expected));
    EXPECT_EQ(VisualState(c.in), c.expected);
  }
}

TEST(ButtonStateTest, MissingPictureFallsBackToNormal) {
  const std::array<bool, 5> onlyNormalAndOver{true, true, false, false, false};
  EXPECT_EQ(PictureState(ButtonState::Over, onlyNormalAndOver), ButtonState::Over);
  EXPECT_EQ(PictureState(ButtonState::Down, onlyNormalAndOver), ButtonState::Normal);
  EXPECT_EQ(PictureState(ButtonState::Disabled, onlyNormalAndOver), ButtonState::Normal);
}

TEST(ButtonStateTest, HitTestUsesHalfOpenBounds) {
  const Rect r{10, 20, 30, 28};
  EXPECT_TRUE(HitTest(r, {10, 20}));
  EXPECT_TRUE(HitTest(r, {39, 47}));
  EXPECT_FALSE(HitTest(r, {40, 30}));
  EXPECT_FALSE(HitTest(r, {20, 48}));
  EXPECT_FALSE(HitTest(r, {9, 30}));
}

}  // namespace
}  // namespace corrivo::ui
