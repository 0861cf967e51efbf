// The state of an image progress bar: the stored position and the six picture items whose
// rectangles make up the background and the fill.
#pragma once

#include <vector>

#include "widgets/picture_item.h"

namespace corrivo::ui {

enum ProgressItem { kBgMid = 0, kBgLeft = 1, kBgRight = 2, kFgMid = 3, kFgLeft = 4, kFgRight = 5 };
constexpr int kProgressCapWidth = 6;

class ImageProgressModel {
 public:
  // Six items named bg_mid ... fg_r, picture i for item i; the fill caps are `fillCapLeft` and
  // `fillCapRight` pixels wide (the widths of their pictures).
  ImageProgressModel(Size bar, int fillCapLeft, int fillCapRight);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  bool Visible() const { return visible_; }
  Size BarSize() const { return bar_; }
  std::vector<PictureItem>& Items() { return items_; }
  const std::vector<PictureItem>& Items() const { return items_; }

  void SetRange(int min, int max);
  // Stores `p` unclamped; answers true when the items were recomputed and the bar is to be
  // repainted.
  bool SetPosition(int p);
  // Visibility first, then the position again, so that a bar shown again draws its last value.
  bool SetVisible(bool visible);
  // The background middle spans the bar less its two caps; the fill follows the new width.
  bool Resize(Size bar);

  // The fill width before the caps are laid out (what the items are computed from).
  static int FillWidth(int p, int min, int max, int barWidth);

 private:
  Size bar_;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  bool visible_ = true;
  std::vector<PictureItem> items_;
};

}  // namespace corrivo::ui
