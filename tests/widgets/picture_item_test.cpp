#include "widgets/picture_item.h"

#include <gtest/gtest.h>

namespace corrivo::ui {
namespace {

struct AlignCase {
  ItemAlign align;
  Rect expected;
};

TEST(PictureItemTest, RectangleFollowsAlign) {
  PictureItem item;
  item.left = 7;
  item.top = 3;
  item.width = 20;
  item.height = 10;
  const Size widget{200, 50};
  const AlignCase cases[] = {
      {ItemAlign::None, {7, 3, 20, 10}},
      {ItemAlign::Custom, {7, 3, 20, 10}},
      {ItemAlign::Top, {0, 0, 200, 10}},
      {ItemAlign::Bottom, {0, 40, 200, 10}},
      {ItemAlign::Left, {0, 0, 20, 50}},
      {ItemAlign::Right, {180, 0, 20, 50}},
      {ItemAlign::Client, {0, 0, 200, 50}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.align));
    item.align = c.align;
    EXPECT_EQ(ItemRect(item, widget), c.expected);
  }
}

TEST(PictureItemTest, UnstretchedPictureKeepsItsSizeAtTopLeft) {
  PictureItem item;
  item.align = ItemAlign::Right;
  item.width = 30;
  item.stretch = false;
  EXPECT_EQ(PictureDestination(item, {100, 40}, {12, 9}), (Rect{70, 0, 12, 9}));
  item.stretch = true;
  EXPECT_EQ(PictureDestination(item, {100, 40}, {12, 9}), (Rect{70, 0, 30, 40}));
}

}  // namespace
}  // namespace corrivo::ui
