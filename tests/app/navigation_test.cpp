#include "app/navigation.h"

#include <gtest/gtest.h>

namespace corrivo {
namespace {

TEST(NavigationTest, AtCreationPageZeroIsSelected) {
  Navigation nav;
  EXPECT_EQ(nav.Page(), 0);
  EXPECT_EQ(nav.HeaderPicture(0), kTileSelected);
  EXPECT_EQ(nav.HeaderLabelColour(0), kWhite);
  for (int p = 1; p < 4; ++p) {
    EXPECT_EQ(nav.HeaderPicture(p), kNoPicture);
    EXPECT_EQ(nav.HeaderLabelColour(p), kLightGrey);
  }
}

TEST(NavigationTest, ShowPageSelectsOnlyItsTile) {
  Navigation nav;
  for (int page = 0; page < 4; ++page) {
    SCOPED_TRACE(page);
    ASSERT_TRUE(nav.ShowPage(page));
    EXPECT_EQ(nav.Page(), page);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(nav.HeaderPicture(i), i == page ? kTileSelected : kNoPicture);
      EXPECT_EQ(nav.HeaderLabelColour(i), i == page ? kWhite : kLightGrey);
    }
  }
  EXPECT_FALSE(nav.ShowPage(4));
  EXPECT_FALSE(nav.ShowPage(-1));
  EXPECT_EQ(nav.Page(), 3);
}

TEST(NavigationTest, HoverWhitensAndLeaveGreysUnlessSelected) {
  Navigation nav;
  nav.ShowPage(1);
  nav.HeaderHover(2);
  EXPECT_EQ(nav.HeaderLabelColour(2), kWhite);
  nav.HeaderLeave(2);
  EXPECT_EQ(nav.HeaderLabelColour(2), kLightGrey);
  nav.HeaderHover(1);
  nav.HeaderLeave(1);
  EXPECT_EQ(nav.HeaderLabelColour(1), kWhite);
}

TEST(NavigationTest, SelectCategoryMarksOneAndResetsTheOthers) {
  Navigation nav;
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    ASSERT_TRUE(nav.SelectCategory(n));
    EXPECT_EQ(nav.Category(), n);
    for (int k = 1; k <= 6; ++k) {
      EXPECT_EQ(nav.CategoryPicture(k), k == n ? kCategorySelected : kCategoryNormal);
      EXPECT_EQ(nav.CategoryLabelColour(k), k == n ? kWhite : kBlack);
    }
  }
}

TEST(NavigationTest, SelectCategoryOutsideOneToSixDoesNothing) {
  Navigation nav;
  nav.SelectCategory(3);
  EXPECT_FALSE(nav.SelectCategory(0));
  EXPECT_FALSE(nav.SelectCategory(7));
  EXPECT_EQ(nav.Category(), 3);
  EXPECT_EQ(nav.CategoryPicture(3), kCategorySelected);
}

TEST(NavigationTest, CategoryHoverNeverTouchesTheSelectedTile) {
  Navigation nav;
  nav.SelectCategory(2);
  nav.CategoryEnter(4);
  EXPECT_EQ(nav.CategoryPicture(4), kCategoryOver);
  nav.CategoryLeave(4);
  EXPECT_EQ(nav.CategoryPicture(4), kCategoryNormal);
  nav.CategoryEnter(2);
  EXPECT_EQ(nav.CategoryPicture(2), kCategorySelected);
  nav.CategoryLeave(2);
  EXPECT_EQ(nav.CategoryPicture(2), kCategorySelected);
}

}  // namespace
}  // namespace corrivo
