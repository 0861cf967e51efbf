// A notebook of pages without visible tabs: one page (a panel) is shown at a time.
#pragma once

#include <memory>
#include <vector>

#include "widgets/control_rules.h"
#include "widgets/win32/panel.h"

namespace corrivo::ui::win32 {

class PageNote : public Control {
 public:
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, COLORREF colour);
  // A new, hidden page that fills the control.
  Panel& AddPage(int id, const std::wstring& name, COLORREF colour);
  int TabIndex() const { return model_.TabIndex(); }
  void SetTabIndex(int index);
  Panel& Page(int index) { return *pages_[static_cast<std::size_t>(index)]; }

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  bool RepaintsOnHover() const override { return false; }

 private:
  COLORREF colour_ = RGB(255, 255, 255);
  PageNoteModel model_;
  std::vector<std::unique_ptr<Panel>> pages_;
};

}  // namespace corrivo::ui::win32
