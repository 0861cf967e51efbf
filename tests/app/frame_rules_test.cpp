#include "app/frame_rules.h"

#include <gtest/gtest.h>

namespace corrivo {
namespace {

TEST(ResizeTest, EachEdgeFollowsTheCursor) {
  const Rect b{100, 50, 800, 600};
  struct Case {
    Edge edge;
    Point cursor;
    Rect expected;
  };
  const Case cases[] = {
      {Edge::Left, {80, 0}, {80, 50, 820, 600}},
      {Edge::Right, {1000, 0}, {100, 50, 900, 600}},
      {Edge::Top, {0, 30}, {100, 30, 800, 620}},
      {Edge::Bottom, {0, 700}, {100, 50, 800, 650}},
      {Edge::Grip, {950, 720}, {100, 50, 850, 670}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.edge));
    EXPECT_EQ(ResizeByEdge(c.edge, b, c.cursor), c.expected);
  }
}

TEST(ResizeTest, LeftEdgePastMinimumMovesTheWindow) {
  const Rect b{100, 50, 700, 600};
  const Rect r = ResizeByEdge(Edge::Left, b, {200, 0});
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.width, 666);
  const Rect t = ResizeByEdge(Edge::Top, b, {0, 400});
  EXPECT_EQ(t.top, 400);
  EXPECT_EQ(t.height, 468);
}

TEST(ResizeTest, GripAndEdgesKeepTheMinimum) {
  const Rect b{0, 0, 700, 500};
  EXPECT_EQ(ResizeByEdge(Edge::Grip, b, {10, 10}), (Rect{0, 0, 666, 468}));
  EXPECT_EQ(ResizeByEdge(Edge::Right, b, {600, 0}).width, 666);
  EXPECT_EQ(ResizeByEdge(Edge::Bottom, b, {0, 100}).height, 468);
  EXPECT_EQ(ApplyMinimumSize({5, 6, 10, 10}), (Rect{5, 6, 666, 468}));
}

TEST(SizeToggleTest, MaximiseThenRestoreGivesTheExactBounds) {
  SizeToggle toggle;
  const Rect before{123, 77, 700, 520};
  const Rect work{0, 30, 1280, 994};  // taskbar on top
  auto max = toggle.Toggle(before, work, 650);
  EXPECT_TRUE(toggle.Maximised());
  EXPECT_EQ(max.bounds, work);
  EXPECT_EQ(max.column0, 550);
  EXPECT_EQ(max.column1, 100);
  EXPECT_FALSE(max.showMaximise);
  EXPECT_TRUE(max.showRestore);
  auto restore = toggle.Toggle(work, work, 1250);
  EXPECT_FALSE(toggle.Maximised());
  EXPECT_EQ(restore.bounds, before);
  EXPECT_EQ(restore.column0, 1100);
  EXPECT_EQ(restore.column1, 100);
  EXPECT_TRUE(restore.showMaximise);
  EXPECT_FALSE(restore.showRestore);
}

TEST(WheelTest, OnlyPageOneAndOnlyInsideTheScrollBox) {
  const ui::Size box{500, 300};
  auto w = WheelOnWindow(1, {10, 10}, box, 20, -120, 400);
  EXPECT_TRUE(w.scroll);
  EXPECT_TRUE(w.repaint);
  EXPECT_EQ(w.position, 25);
  w = WheelOnWindow(1, {10, 10}, box, 20, 120, 400);
  EXPECT_EQ(w.position, 15);
  w = WheelOnWindow(1, {500, 300}, box, 20, 120, 400);  // the far edges still count
  EXPECT_TRUE(w.scroll);
  w = WheelOnWindow(1, {501, 10}, box, 20, 120, 400);
  EXPECT_FALSE(w.scroll);
  EXPECT_TRUE(w.repaint);
  EXPECT_EQ(w.position, 20);
  w = WheelOnWindow(1, {-1, 10}, box, 20, 120, 400);
  EXPECT_FALSE(w.scroll);
  for (int page : {0, 2, 3}) {
    SCOPED_TRACE(page);
    w = WheelOnWindow(page, {10, 10}, box, 20, 120, 400);
    EXPECT_FALSE(w.scroll);
    EXPECT_FALSE(w.repaint);
  }
}

TEST(WheelTest, StopsAtTopAndEnd) {
  const ui::Size box{500, 300};
  EXPECT_EQ(WheelOnWindow(1, {1, 1}, box, 2, 120, 400).position, 0);
  EXPECT_EQ(WheelOnWindow(1, {1, 1}, box, 398, -120, 400).position, 400);
}

TEST(ActivationTest, DisabledButtonsByVersion) {
  EXPECT_EQ(FixButtonsDisabledOn(5, 1),
            (std::vector<int>{103, 106, 209, 309, 405, 410, 502, 503, 507, 508, 509, 510}));
  EXPECT_EQ(FixButtonsDisabledOn(5, 2).size(), 12u);
  EXPECT_EQ(FixButtonsDisabledOn(6, 0), (std::vector<int>{309, 503, 507, 508, 509, 510}));
  EXPECT_TRUE(FixButtonsDisabledOn(6, 1).empty());
  EXPECT_TRUE(FixButtonsDisabledOn(6, 2).empty());
  EXPECT_TRUE(FixButtonsDisabledOn(10, 0).empty());
  EXPECT_EQ(SelectAllShiftOn(5), 3);
  EXPECT_EQ(SelectAllShiftOn(6), 0);
}

}  // namespace
}  // namespace corrivo
