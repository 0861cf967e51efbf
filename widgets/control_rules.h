// State rules of the image notes, page controls and image buttons.
#pragma once

#include <array>

#include "widgets/geometry.h"

namespace corrivo::ui {

// Which picture an image note shows, by its `ImageIndex`.
class ImageNoteModel {
 public:
  explicit ImageNoteModel(int pictureCount = 0) : count_(pictureCount) {}
  // The picture shown, -1 for the empty picture.
  int ImageIndex() const { return index_; }
  int PictureCount() const { return count_; }
  void SetPictureCount(int count) { count_ = count; }
  // Answers true when the shown picture may have changed (a repaint is due); an index that
  // names no picture (other than -1, the empty one) changes nothing.
  bool SetImageIndex(int index);

 private:
  int count_ = 0;
  int index_ = -1;
};

// What a change of a page control's tab index does to its pages.
struct PageSwitch {
  bool changed = false;
  int show = -1;  // the page made visible and brought to the front
  int hide = -1;  // the page hidden afterwards, -1 when none was shown
};

class PageNoteModel {
 public:
  int TabIndex() const { return tabIndex_; }  // -1 until a page is shown
  int AddPage() { return tabCount_++; }
  PageSwitch SetTabIndex(int index);

 private:
  int tabIndex_ = -1;
  int tabCount_ = 0;
};

enum class ButtonState { Normal = 0, Over = 1, Down = 2, Disabled = 3, Selected = 4 };

struct ButtonInput {
  bool enabled = true;
  bool selected = false;
  bool hot = false;      // the mouse is over the button
  bool pressed = false;  // a button press started on it and is still held
};

ButtonState VisualState(const ButtonInput& in);
// The state whose picture is drawn: a state without a picture falls back to the normal one.
ButtonState PictureState(ButtonState state, const std::array<bool, 5>& hasPicture);

}  // namespace corrivo::ui
