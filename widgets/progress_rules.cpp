#include "widgets/progress_rules.h"

namespace corrivo::ui {
namespace {

PictureItem MakeItem(const wchar_t* name, int picture, ItemAlign align, bool stretch, int left,
                     int width, int height, bool visible) {
  PictureItem item;
  item.name = name;
  item.picture = picture;
  item.align = align;
  item.stretch = stretch;
  item.left = left;
  item.width = width;
  item.height = height;
  item.visible = visible;
  return item;
}

}  // namespace

ImageProgressModel::ImageProgressModel(Size bar, int fillCapLeft, int fillCapRight) : bar_(bar) {
  const int h = bar.height;
  items_.push_back(MakeItem(L"bg_mid", kBgMid, ItemAlign::None, true, kProgressCapWidth,
                            bar.width - 2 * kProgressCapWidth, h, true));
  items_.push_back(MakeItem(L"bg_l", kBgLeft, ItemAlign::Left, true, 0, kProgressCapWidth, h, true));
  items_.push_back(MakeItem(L"bg_r", kBgRight, ItemAlign::Right, true, 0, kProgressCapWidth, h, true));
  items_.push_back(MakeItem(L"fg_mid", kFgMid, ItemAlign::None, true, fillCapLeft, 0, h, false));
  items_.push_back(MakeItem(L"fg_l", kFgLeft, ItemAlign::Left, true, 0, fillCapLeft, h, false));
  items_.push_back(MakeItem(L"fg_r", kFgRight, ItemAlign::None, true, fillCapLeft, fillCapRight, h, false));
}

void ImageProgressModel::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  SetPosition(position_);
}

int ImageProgressModel::FillWidth(int p, int min, int max, int barWidth) {
  const long long n = static_cast<long long>(p - min) * barWidth;
  const long long d = max - min;
  long long fill = n / d;
  if (n % d != 0) fill += 1;
  return static_cast<int>(fill);
}

bool ImageProgressModel::SetPosition(int p) {
  position_ = p;
  if (items_.size() < 6 || !visible_ || max_ - min_ < 1) return false;
  const bool filled = p != min_;
  items_[kFgMid].visible = filled;
  items_[kFgLeft].visible = filled;
  items_[kFgRight].visible = filled;
  const int fill = FillWidth(p, min_, max_, bar_.width);
  const int capL = items_[kFgLeft].width;
  const int capR = items_[kFgRight].width;
  items_[kFgMid].width = fill >= capL + capR ? fill - capL - capR : 0;
  items_[kFgMid].left = capL;
  items_[kFgRight].left = capL + items_[kFgMid].width;
  return true;
}

bool ImageProgressModel::SetVisible(bool visible) {
  visible_ = visible;
  return SetPosition(position_);
}

bool ImageProgressModel::Resize(Size bar) {
  bar_ = bar;
  items_[kBgMid].width = bar.width - 2 * kProgressCapWidth;
  for (auto& item : items_) item.height = bar.height;
  return SetPosition(position_);
}

}  // namespace corrivo::ui
