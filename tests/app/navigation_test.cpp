// Which tile shows which picture and colour as pages and categories are chosen and hovered.
#include "app/navigation.h"

#include <gtest/gtest.h>

namespace corrivo {
namespace {

void ExpectPageShown(const Navigation& nav, int page) {
  EXPECT_EQ(nav.Page(), page);
  for (int i = 0; i < layout::kHeaderTileCount; ++i) {
    EXPECT_EQ(nav.HeaderPicture(i), i == page ? kTileSelected : kNoPicture) << i;
    EXPECT_EQ(nav.HeaderLabelColour(i), i == page ? kWhite : kLightGrey) << i;
  }
}

void ExpectCategorySelected(const Navigation& nav, int n) {
  EXPECT_EQ(nav.Category(), n);
  for (int k = 1; k <= layout::kCategoryCount; ++k) {
    EXPECT_EQ(nav.CategoryPicture(k), k == n ? kCategorySelected : kCategoryNormal) << k;
    EXPECT_EQ(nav.CategoryLabelColour(k), k == n ? kWhite : kBlack) << k;
  }
}

TEST(NavigationTest, OnePageAndOneCategoryAtATimeAreSelected) {
  Navigation nav;
  ExpectPageShown(nav, 0);
  ExpectCategorySelected(nav, 0);  // none, until the window selects the first
  for (int page : {2, 3, 1, 0}) {
    ASSERT_TRUE(nav.ShowPage(page));
    ExpectPageShown(nav, page);
  }
  for (int n : {3, 1, 6}) {
    ASSERT_TRUE(nav.SelectCategory(n));
    ExpectCategorySelected(nav, n);
  }
  EXPECT_FALSE(nav.ShowPage(-1) || nav.ShowPage(4) || nav.SelectCategory(0) || nav.SelectCategory(7));
  ExpectPageShown(nav, 0);
  ExpectCategorySelected(nav, 6);
}

TEST(NavigationTest, HoverLightsUpAndLeavingRestoresAllButTheSelectedTile) {
  Navigation nav;
  nav.ShowPage(1);
  nav.SelectCategory(2);
  for (int page : {0, 2, 3}) {
    nav.HeaderHover(page);
    EXPECT_EQ(nav.HeaderLabelColour(page), kWhite) << page;
    nav.HeaderLeave(page);
  }
  for (int n : {1, 4, 6}) {
    nav.CategoryEnter(n);
    EXPECT_EQ(nav.CategoryPicture(n), kCategoryOver) << n;
    nav.CategoryLeave(n);
  }
  // Tiles that do not exist change nothing.
  nav.HeaderHover(-1);
  nav.HeaderLeave(4);
  nav.CategoryEnter(0);
  nav.CategoryLeave(7);
  nav.HeaderHover(1);
  nav.HeaderLeave(1);
  nav.CategoryEnter(2);
  EXPECT_EQ(nav.CategoryPicture(2), kCategorySelected);
  nav.CategoryLeave(2);
  ExpectPageShown(nav, 1);
  ExpectCategorySelected(nav, 2);
}

}  // namespace
}  // namespace corrivo
