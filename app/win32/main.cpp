// Program entry: the safe DLL search path, display scaling, the single-instance mark and the
// hand-over to a running copy, then the main window and its message loop.
#include "app/startup.h"
#include "app/win32/main_window.h"
#include "app/win32/program_identity.h"
#include "app/win32/taskbar_window.h"
#include "catalog/journal.h"
#include "sysaccess/system.h"
#include "sysaccess/win32/win32_api.h"

#include <commctrl.h>

namespace corrivo::app {
namespace {

class Win32Start : public StartServices {
 public:
  explicit Win32Start(HINSTANCE instance) : instance_(instance) {}

  unsigned MajorVersion() override {
    std::uint32_t major = 0, minor = 0, product = 0;
    return PlatformSystem().os.QueryVersion(&major, &minor, &product) ? major : 0;
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

  bool AnotherCopyIsRunning() override {
    // Kept for the life of the process and never closed: the system drops it at exit. A mutex
    // that could not be made for another reason lets this copy run.
    mutex_ = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    return GetLastError() == ERROR_ALREADY_EXISTS;
  }

  std::uintptr_t FindRunningCopy() override {
    return reinterpret_cast<std::uintptr_t>(FindWindowW(kMainWindowClass, nullptr));
  }
  bool IsMinimised(std::uintptr_t w) override { return IsIconic(Hwnd(w)) != FALSE; }
  void Restore(std::uintptr_t w) override { PostMessageW(Hwnd(w), WM_SYSCOMMAND, SC_RESTORE, 0); }
  void BringToForeground(std::uintptr_t w) override { SetForegroundWindow(Hwnd(w)); }
  void HandOverTo(std::uintptr_t w) override {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Hwnd(w), kShowYourselfMessage, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, kHandOverTimeoutMs,
                        &ignored);
  }

  int RunFirstInstance() override {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);
    // Every repair of this run (one-click, General Fix) saves what it changes here first.
    static const JournalPlace journal = PlatformJournalPlace(DefaultJournalFolder(PlatformSystem().os));
    PlatformSystem().journal = &journal;
    // Both windows live until the process ends; the window's thread is never waited for.
    // Both window classes carry the program's icon, so neither window needs one of its own.
    auto* taskbar = new TaskbarWindow();
    if (!taskbar->Create(instance_, appIcon_ ? appIcon_ : LoadIconW(instance_, kMainIconName))) return 0;
    auto* window = new MainWindow();
    if (!window->Create(instance_, taskbar->hwnd())) return 0;
    taskbar->Represent(window->hwnd());
    taskbar->Show();
    window->Show(SW_SHOWNORMAL);
    MSG msg;
    for (;;) {
      // Idle work runs a piece at a time, only while no message waits: input and painting
      // always come first. Waiting for input (for no time at all) before each piece is what
      // tells the system the program is idle and ready for input, as after any first paint.
      while (window->HasIdleWork() &&
             MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT) == WAIT_TIMEOUT) {
        window->DoIdleWork();
      }
      if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
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
  try {
    corrivo::app::Win32Start start(instance);
    return corrivo::RunProgram(start);
  } catch (...) {
    // Window procedures catch their own; this is what fails before the message loop or after
    // it. The unwinder must not go on into the start-up code that called us.
    return 1;
  }
}
