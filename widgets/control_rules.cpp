#include "widgets/control_rules.h"

namespace corrivo::ui {

bool ImageNoteModel::SetImageIndex(int index) {
  if (index < -1 || index >= count_) return false;
  index_ = index;
  return true;
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

}  // namespace corrivo::ui
