// The program's entry sequence over the few system services it needs, so that its order and
// its single-instance hand-over can be followed without a real desktop.
#pragma once

#include <cstdint>
#include <string>

namespace corrivo {

inline constexpr wchar_t kInstanceMutexName[] = L"_Tarsio_Fix_Windows_";
inline constexpr wchar_t kMainWindowClass[] = L"TFixWindows_FormMain";
inline constexpr wchar_t kApplicationTitle[] = L"Corrivo";
inline constexpr wchar_t kMainIconName[] = L"MAINICON";
constexpr unsigned kActivateInstanceMessage = 0x49C;  // WM_USER + 156
constexpr std::uint32_t kErrorAlreadyExists = 183;

class StartServices {
 public:
  virtual ~StartServices() = default;
  virtual unsigned MajorVersion() = 0;
  // Looks SetProcessDPIAware up in the loaded user32 and calls it; false when it is missing.
  virtual bool MarkDpiAware() = 0;
  virtual void SetApplicationIcon() = 0;
  // Creates the named mutex owned by this process and answers the last error of that call.
  virtual std::uint32_t CreateInstanceMutex() = 0;
  // The running instance's main window, 0 when there is none.
  virtual std::uintptr_t FindMainWindow() = 0;
  virtual bool IsMinimised(std::uintptr_t window) = 0;
  virtual void PostRestore(std::uintptr_t window) = 0;
  virtual void BringToForeground(std::uintptr_t window) = 0;
  // Sends 0x49C and returns when the other instance has handled it.
  virtual void SendActivate(std::uintptr_t window) = 0;
  // Creates the main window and runs the message loop; answers the exit code.
  virtual int RunFirstInstance() = 0;
};

// The display-scaling step: only from major version 6 on, and the icon only when the call exists.
void SetDpiAware(StartServices& services);
// The whole entry sequence; answers the process exit code.
int RunProgram(StartServices& services);

}  // namespace corrivo
