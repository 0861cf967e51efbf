// The Windows side of FixByID for the main window: it owns nothing but the window handle.
#pragma once

#include "catalog/dispatch.h"
#include "sysaccess/win32/win32_api.h"

namespace corrivo {

class Win32DispatchEffects : public DispatchEffects {
 public:
  explicit Win32DispatchEffects(HWND owner) : owner_(owner) {}

  void ChangeNotify(std::int32_t eventId, std::uint32_t flags) override;
  WindowId FindTopLevelWindow(const std::wstring& className) override;
  WindowId FindChildWindow(WindowId parent, const std::wstring& className) override;
  void SendWindowMessage(WindowId window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) override;
  void ShowMessage(const std::wstring& text, std::uint32_t style) override;

 private:
  HWND owner_;
};

}  // namespace corrivo
