// The self-drawn frame: resizing by edges and grip within the minimum size, maximising without
// the system's maximised state, and the mouse wheel.
#include "app/frame_rules.h"

#include <gtest/gtest.h>

namespace corrivo {
namespace {

TEST(ResizeTest, EachEdgeFollowsTheCursorAndTheMinimumHolds) {
  const Rect b{100, 50, 800, 600};
  struct Case {
    Edge edge;
    Point cursor;
    Rect expected;
  };
  const Case cases[] = {
      {Edge::Left, {80, 0}, {80, 50, 820, 600}},       {Edge::Right, {1000, 0}, {100, 50, 900, 600}},
      {Edge::Top, {0, 30}, {100, 30, 800, 620}},       {Edge::Bottom, {0, 700}, {100, 50, 800, 650}},
      {Edge::Grip, {950, 720}, {100, 50, 850, 670}},
      // Past the minimum the size stops; a dragged left or top edge then moves the window.
      {Edge::Left, {300, 0}, {300, 50, 666, 600}},     {Edge::Top, {0, 400}, {100, 400, 800, 468}},
      {Edge::Right, {200, 0}, {100, 50, 666, 600}},    {Edge::Bottom, {0, 60}, {100, 50, 800, 468}},
      {Edge::Grip, {110, 60}, {100, 50, 666, 468}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.edge));
    EXPECT_EQ(ResizeByEdge(c.edge, b, c.cursor), c.expected);
  }
  EXPECT_EQ(ApplyMinimumSize({5, 6, 10, 700}), (Rect{5, 6, 666, 700}));
}

TEST(SizeToggleTest, MaximiseThenRestoreGivesTheExactBounds) {
  SizeToggle toggle;
  const Rect before{123, 77, 700, 520};
  const Rect work{0, 30, 1280, 994};  // taskbar on top
  const auto max = toggle.Toggle(before, work, 650);
  EXPECT_TRUE(toggle.Maximised());
  EXPECT_EQ(max.bounds, work);
  EXPECT_EQ(std::make_pair(max.itemColumn, max.statusColumn), std::make_pair(550, 100));
  EXPECT_FALSE(max.showMaximise);
  EXPECT_TRUE(max.showRestore);
  const auto restore = toggle.Toggle(work, work, 1250);
  EXPECT_FALSE(toggle.Maximised());
  EXPECT_EQ(restore.bounds, before);
  EXPECT_EQ(std::make_pair(restore.itemColumn, restore.statusColumn), std::make_pair(1100, 100));
  EXPECT_TRUE(restore.showMaximise);
  EXPECT_FALSE(restore.showRestore);
}

TEST(WheelTest, ScrollsOnlyTheAdvancedPageWithTheMouseInsideTheBox) {
  struct Case {
    int page;
    Point at;
    int position, delta;
    bool scroll, repaint;
    int expected;
  };
  const Case cases[] = {
      {1, {10, 10}, 20, -120, true, true, 25},  // towards the user: down the list
      {1, {10, 10}, 20, 120, true, true, 15},    {1, {500, 300}, 20, 120, true, true, 15},  // edges count
      {1, {0, 0}, 20, 120, true, true, 15},      {1, {501, 10}, 20, 120, false, true, 20},
      {1, {10, 301}, 20, 120, false, true, 20},  {1, {-1, 10}, 20, 120, false, true, 20},
      {1, {10, -1}, 20, 120, false, true, 20},
      {1, {1, 1}, 2, 120, true, true, 0},  {1, {1, 1}, 398, -120, true, true, 400},  // stops at the ends
      {0, {10, 10}, 20, 120, false, false, 20},  {2, {10, 10}, 20, 120, false, false, 20},
      {3, {10, 10}, 20, 120, false, false, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "page " << c.page << " at " << c.at.x << "," << c.at.y);
    const WheelOutcome w = WheelOnWindow(c.page, c.at, {500, 300}, c.position, c.delta, 400);
    EXPECT_EQ(w.scroll, c.scroll);
    EXPECT_EQ(w.repaint, c.repaint);
    EXPECT_EQ(w.position, c.expected);
  }
}

TEST(SelectAllTest, MovesRightOnWindowsXPOnly) {
  for (WindowsVersion v : {WindowsVersion::XP, WindowsVersion::Vista, WindowsVersion::Seven, WindowsVersion::Eight})
    EXPECT_EQ(SelectAllShiftOn(v), v == WindowsVersion::XP ? 3 : 0) << static_cast<int>(v);
}

}  // namespace
}  // namespace corrivo
