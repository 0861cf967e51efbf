#include "catalog/win32/win32_dispatch_effects.h"

#include <shlobj.h>

#include <vector>

namespace corrivo {

void Win32DispatchEffects::ChangeNotify(std::int32_t eventId, std::uint32_t flags) {
  SHChangeNotify(static_cast<LONG>(eventId), static_cast<UINT>(flags), nullptr, nullptr);
}

WindowId Win32DispatchEffects::FindTopLevelWindow(const std::wstring& className) {
  return reinterpret_cast<WindowId>(FindWindowW(className.c_str(), nullptr));
}

WindowId Win32DispatchEffects::FindChildWindow(WindowId parent, const std::wstring& className) {
  return reinterpret_cast<WindowId>(
      FindWindowExW(reinterpret_cast<HWND>(parent), nullptr, className.c_str(), nullptr));
}

void Win32DispatchEffects::SendWindowMessage(WindowId window, std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
  SendMessageW(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void Win32DispatchEffects::ShowMessage(const std::wstring& text, std::uint32_t style) {
  // The caption is the window's title as it is now (the language may have replaced it).
  std::wstring title;
  if (owner_) {
    int length = GetWindowTextLengthW(owner_);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(owner_, buffer.data(), length + 1);
    title.assign(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
  }
  MessageBoxW(owner_, text.c_str(), title.c_str(), style);
}

}  // namespace corrivo
