// State rules of the image notes, page controls and image buttons.
#pragma once

#include <array>

#include "widgets/geometry.h"

namespace corrivo::ui {

// Which picture an image note shows, by its `ImageIndex`.
class ImageNoteModel {
 public:
  explicit ImageNoteModel(int pictureCount = 0) : count_(pictureCount) {}
  int ImageIndex() const { return index_; }
  // The picture shown, -1 for the empty picture.
  int ShownPicture() const { return shown_; }
  int PictureCount() const { return count_; }
  void SetPictureCount(int count) { count_ = count; }

  // While the design is being loaded only the number is kept.
  void BeginLoading() { loading_ = true; }
  void EndLoading();
  // Answers true when the shown picture may have changed (a repaint is due).
  bool SetImageIndex(int index);

 private:
  int count_ = 0;
  int index_ = -1;
  int shown_ = -1;
  bool loading_ = false;
};

// What a change of a page control's tab index does to its pages.
struct PageSwitch {
  bool changed = false;
  int show = -1;  // the page made visible and brought to the front
  int hide = -1;  // the page hidden afterwards, -1 when none was shown
};

class PageNoteModel {
 public:
  int TabIndex() const { return tabIndex_; }
  int TabCount() const { return tabCount_; }
  int AddPage() { return tabCount_++; }
  // -1 when there are no pages or none is active.
  int ActivePage() const { return tabCount_ == 0 ? -1 : tabIndex_; }
  PageSwitch SetTabIndex(int index);
  PageSwitch SetActivePage(int pagePosition) { return SetTabIndex(pagePosition); }

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
// The widget's own rectangle in its parent, for hit tests in parent coordinates.
bool HitTest(const Rect& bounds, Point parentPoint);

}  // namespace corrivo::ui
