#include "widgets/win32/check_box.h"

namespace corrivo::ui::win32 {

bool CheckBox::Create(HWND parent, int id, const std::wstring& name, const Rect& r, const std::wstring& caption,
                      HFONT font) {
  HWND hwnd = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_AUTOCHECKBOX, r.left,
                              r.top, r.width, r.height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                              nullptr);
  if (!hwnd) return false;
  Attach(hwnd, id, name);
  SetFont(font);
  return true;
}

bool CheckBox::Checked() const { return SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked, bool asClick) {
  SendMessageW(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (asClick && OnClick) OnClick();
}

LRESULT CheckBox::OnReflect(const Reflected& r) {
  if (r.message == WM_COMMAND && HIWORD(r.wParam) == BN_CLICKED && OnClick) OnClick();
  return 0;
}

}  // namespace corrivo::ui::win32
