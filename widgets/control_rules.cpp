#include "widgets/control_rules.h"

namespace corrivo::ui {

void ImageNoteModel::EndLoading() {
  loading_ = false;
  if (index_ >= 0 && index_ < count_) {
    shown_ = index_;
  } else {
    index_ = -1;
    shown_ = -1;
  }
}

bool ImageNoteModel::SetImageIndex(int index) {
  if (loading_) {
    index_ = index;
    return false;
  }
  if (index >= 0 && index < count_) {
    index_ = index;
    shown_ = index;
    return true;
  }
  if (index == -1) {
    index_ = -1;
    shown_ = -1;
    return true;
  }
  return false;
}

PageSwitch PageNoteModel::SetTabIndex(int index) {
  PageSwitch s;
  if (index < 0 || index >= tabCount_ || index == tabIndex_) return s;
  s.changed = true;
  s.show = index;
  s.hide = tabIndex_;
  tabIndex_ = index;
  return s;
}

ButtonState VisualState(const ButtonInput& in) {
  if (!in.enabled) return ButtonState::Disabled;
  if (in.pressed && in.hot) return ButtonState::Down;
  if (in.selected) return ButtonState::Selected;
  if (in.hot || in.pressed) return ButtonState::Over;
  return ButtonState::Normal;
}

ButtonState PictureState(ButtonState state, const std::array<bool, 5>& hasPicture) {
  return hasPicture[static_cast<int>(state)] ? state : ButtonState::Normal;
}

bool HitTest(const Rect& bounds, Point parentPoint) { return bounds.Contains(parentPoint); }

}  // namespace corrivo::ui
