// Program entry: the safe DLL search path, display scaling, the single-instance mutex and the
// hand-over to a running instance, then the main window and its message loop.
#include "app/startup.h"
#include "app/win32/main_window.h"
#include "sysaccess/platform_primitives.h"
#include "sysaccess/win32/win32_api.h"

#include <commctrl.h>

namespace corrivo::app {
namespace {

class Win32Start : public StartServices {
 public:
  explicit Win32Start(HINSTANCE instance) : instance_(instance) {}

  unsigned MajorVersion() override {
    std::uint32_t major = 0, minor = 0, product = 0;
    return primitives::QueryOsVersion(&major, &minor, &product) ? major : 0;
  }

  bool MarkDpiAware() override {
    // Looked up by name: XP's user32 has no such export, and a static import would stop the
    // program from loading there.
    using SetDpiAwareFn = BOOL(WINAPI*)();
    auto fn = corrivo::win32::GetProc<SetDpiAwareFn>(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware");
    if (!fn) return false;
    fn();
    return true;
  }

  void SetApplicationIcon() override { appIcon_ = LoadIconW(instance_, kMainIconName); }

  std::uint32_t CreateInstanceMutex() override {
    // Kept for the life of the process and never closed: the system drops it at exit.
    mutex_ = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    return GetLastError();
  }

  std::uintptr_t FindMainWindow() override {
    return reinterpret_cast<std::uintptr_t>(FindWindowW(kMainWindowClass, nullptr));
  }
  bool IsMinimised(std::uintptr_t w) override { return IsIconic(Hwnd(w)) != FALSE; }
  void PostRestore(std::uintptr_t w) override { PostMessageW(Hwnd(w), WM_SYSCOMMAND, SC_RESTORE, 0); }
  void BringToForeground(std::uintptr_t w) override { SetForegroundWindow(Hwnd(w)); }
  void SendActivate(std::uintptr_t w) override { SendMessageW(Hwnd(w), kActivateInstanceMessage, 0, 0); }

  int RunFirstInstance() override {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);
    // The window lives until the process ends; its thread is never waited for.
    auto* window = new TFixWindows_FormMain();
    if (!window->Create(instance_)) return 0;
    if (appIcon_) {
      SendMessageW(window->hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_));
      SendMessageW(window->hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon_));
    }
    window->Show(SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (window->PreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    return 0;
  }

 private:
  static HWND Hwnd(std::uintptr_t w) { return reinterpret_cast<HWND>(w); }
  HINSTANCE instance_;
  HANDLE mutex_ = nullptr;
  HICON appIcon_ = nullptr;
};

}  // namespace
}  // namespace corrivo::app

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // Never load a DLL from the current folder: the program runs elevated.
  SetDllDirectoryW(L"");
  corrivo::app::Win32Start start(instance);
  return corrivo::RunProgram(start);
}
