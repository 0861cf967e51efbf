// Page and category state of the main window: which tile shows which picture and which colour
// each tile label has, kept apart from the controls that display them.
#pragma once

#include <array>
#include <cstdint>

#include "app/advanced_layout.h"
#include "app/layout.h"

namespace corrivo {

// Colours as 0xRRGGBB.
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kLightGrey = 0xCCCCCC;
constexpr std::uint32_t kBlack = 0x000000;

// Header tile pictures: 0 = the selected look, -1 = none. Category tile pictures: 0 normal,
// 1 mouse over, 2 selected.
constexpr int kNoPicture = -1;
constexpr int kTileSelected = 0;
constexpr int kCategoryNormal = 0;
constexpr int kCategoryOver = 1;
constexpr int kCategorySelected = 2;

class Navigation {
 public:
  // The state after creation: page 0's tile selected, its label white, the others grey; no
  // category selected yet (the window selects category 1).
  Navigation();

  int Page() const { return page_; }
  int Category() const { return category_; }
  int HeaderPicture(int page) const { return headerPicture_[page]; }
  std::uint32_t HeaderLabelColour(int page) const { return headerLabel_[page]; }
  int CategoryPicture(int category) const { return categoryPicture_[category - 1]; }
  std::uint32_t CategoryLabelColour(int category) const { return categoryLabel_[category - 1]; }

  // The clicked tile's page: its tile selected and label white, the others plain and grey.
  // False (and nothing changes) for a page outside 0 to 3.
  bool ShowPage(int page);
  // False (and nothing changes) for a category outside 1 to 6.
  bool SelectCategory(int category);

  // The mouse over a header tile, its icon or its label, and leaving it.
  void HeaderHover(int page);
  void HeaderLeave(int page);
  void CategoryEnter(int category);
  void CategoryLeave(int category);

 private:
  int page_ = 0;
  int category_ = 0;
  std::array<int, layout::kHeaderTileCount> headerPicture_{};
  std::array<std::uint32_t, layout::kHeaderTileCount> headerLabel_{};
  std::array<int, layout::kCategoryCount> categoryPicture_{};
  std::array<std::uint32_t, layout::kCategoryCount> categoryLabel_{};
};

}  // namespace corrivo
