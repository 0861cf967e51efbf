#include "app/navigation.h"

namespace corrivo {

Navigation::Navigation() {
  headerPicture_.fill(kNoPicture);
  headerLabel_.fill(kLightGrey);
  headerPicture_[0] = kTileSelected;
  headerLabel_[0] = kWhite;
  categoryPicture_.fill(kCategoryNormal);
  categoryLabel_.fill(kBlack);
}

bool Navigation::ShowPage(int page) {
  if (page < 0 || page >= layout::kHeaderTileCount) return false;
  page_ = page;
  for (int i = 0; i < layout::kHeaderTileCount; ++i) {
    headerPicture_[i] = i == page ? kTileSelected : kNoPicture;
    headerLabel_[i] = i == page ? kWhite : kLightGrey;
  }
  return true;
}

bool Navigation::SelectCategory(int category) {
  if (category < 1 || category > layout::kCategoryCount) return false;
  category_ = category;
  for (int k = 1; k <= layout::kCategoryCount; ++k) {
    categoryPicture_[k - 1] = k == category ? kCategorySelected : kCategoryNormal;
    categoryLabel_[k - 1] = k == category ? kWhite : kBlack;
  }
  return true;
}

void Navigation::HeaderHover(int page) {
  if (page >= 0 && page < layout::kHeaderTileCount) headerLabel_[page] = kWhite;
}

void Navigation::HeaderLeave(int page) {
  if (page < 0 || page >= layout::kHeaderTileCount) return;
  if (headerPicture_[page] != kTileSelected) headerLabel_[page] = kLightGrey;
}

void Navigation::CategoryEnter(int category) {
  if (category < 1 || category > layout::kCategoryCount) return;
  if (categoryPicture_[category - 1] != kCategorySelected) categoryPicture_[category - 1] = kCategoryOver;
}

void Navigation::CategoryLeave(int category) {
  if (category < 1 || category > layout::kCategoryCount) return;
  if (categoryPicture_[category - 1] != kCategorySelected) categoryPicture_[category - 1] = kCategoryNormal;
}

}  // namespace corrivo
