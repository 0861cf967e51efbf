#include "widgets/scroll_rules.h"

#include <gtest/gtest.h>

namespace corrivo::ui {
namespace {

TEST(ScrollRulesTest, RangeIsNeverNegative) {
  EXPECT_EQ(ScrollRange(500, 200), 300);
  EXPECT_EQ(ScrollRange(100, 200), 0);
}

TEST(ScrollRulesTest, OutsideTheRangeLandsOnTheNearestEnd) {
  EXPECT_EQ(ClampScroll(-4, 300), 0);
  EXPECT_EQ(ClampScroll(301, 300), 300);
  EXPECT_EQ(ClampScroll(120, 300), 120);
  EXPECT_EQ(ClampScroll(7, 0), 0);
}

TEST(ScrollRulesTest, WheelMovesFivePixelsAndStopsAtTheEnds) {
  EXPECT_EQ(WheelScroll(20, 120, 100), 15);
  EXPECT_EQ(WheelScroll(20, 0, 100), 15);  // a zero delta counts as away from the user
  EXPECT_EQ(WheelScroll(3, 120, 100), 0);
  EXPECT_EQ(WheelScroll(20, -120, 100), 25);
  EXPECT_EQ(WheelScroll(98, -120, 100), 100);
  EXPECT_EQ(WheelScroll(0, -120, 0), 0);
}

TEST(ScrollRulesTest, ThumbProportionalAndTravelling) {
  EXPECT_EQ(ThumbFor(200, 200, 800, 0), (Thumb{0, 50}));
  EXPECT_EQ(ThumbFor(200, 200, 800, 600), (Thumb{150, 50}));
  EXPECT_EQ(ThumbFor(200, 200, 800, 300), (Thumb{75, 50}));
  EXPECT_EQ(ThumbFor(200, 200, 100, 0), (Thumb{0, 200}));
  EXPECT_EQ(ThumbFor(200, 10, 10000, 0).length, kMinThumb);
}

TEST(ScrollRulesTest, ThumbPositionRoundTrips) {
  for (int pos : {0, 200, 300, 600}) {
    SCOPED_TRACE(pos);
    const Thumb t = ThumbFor(200, 200, 800, pos);
    EXPECT_EQ(PositionForThumb(200, 200, 800, t.top), pos);
  }
  EXPECT_EQ(PositionForThumb(200, 200, 800, 999), 600);
  EXPECT_EQ(PositionForThumb(200, 200, 800, -20), 0);
}

}  // namespace
}  // namespace corrivo::ui
