// A standard check box (BUTTON, BS_AUTOCHECKBOX) on a skinned page.
#pragma once

#include "widgets/win32/control_base.h"

namespace corrivo::ui::win32 {

class CheckBox : public Control {
 public:
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, const std::wstring& caption,
              HFONT font);
  bool Checked() const;
  // Like a click when `asClick`: the OnClick handler runs after the change.
  void SetChecked(bool checked, bool asClick = false);

 protected:
  LRESULT OnReflect(const Reflected& r) override;
  bool RepaintsOnHover() const override { return false; }
};

}  // namespace corrivo::ui::win32
