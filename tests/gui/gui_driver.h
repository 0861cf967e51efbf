// A small driver for Corrivo's window under Wine: it starts the program, finds the main window
// by its class and every control by its identifier, clicks like a user would, and reads
// message boxes. Everything goes through ordinary window messages.
#pragma once

#include <string>

#include "sysaccess/win32/win32_api.h"

namespace corrivo::gui {

// The program under test (set by the build).
std::wstring CorrivoExePath();

class CorrivoProcess {
 public:
  CorrivoProcess() = default;
  ~CorrivoProcess();
  CorrivoProcess(const CorrivoProcess&) = delete;
  CorrivoProcess& operator=(const CorrivoProcess&) = delete;

  bool Start();
  DWORD Pid() const { return pi_.dwProcessId; }
  // The visible main window of this process, or null after `timeoutMs`.
  HWND WaitForWindow(DWORD timeoutMs = 20000, bool mustBeVisible = true);
  // True when the process ended within the time; its exit code then in `code`.
  bool WaitForExit(DWORD timeoutMs, DWORD* code);
  // Asks the window to close and waits for the process; kills it if it hangs.
  void Close();

 private:
  PROCESS_INFORMATION pi_{};
};

// The control with this identifier anywhere below `parent`, or null.
HWND FindControl(HWND parent, int id);
std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
// Window rectangle relative to `parent`'s client area.
RECT RectIn(HWND hwnd, HWND parent);
// Sends a left click (down and up) at the control's centre; returns when it has been handled.
void ClickCentre(HWND control);
// Posts BM_CLICK (never sent: a click may open a modal message box).
void PostButtonClick(HWND button);
// Lets the program's message queue drain.
void Settle(DWORD ms = 300);

// A message box of the process (dialog class #32770), or null after the time.
HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs = 15000);
std::wstring MessageBoxText(HWND box);
void CloseMessageBox(HWND box);
// An open popup menu of the process (class #32768), or null after the time.
HWND WaitForPopupMenu(DWORD pid, DWORD timeoutMs = 10000);
// The whole text of a control by WM_GETTEXT (an edit control's text may be long).
std::wstring ControlText(HWND control);
// Waits until the window is gone; false when it is still there after the time.
bool WaitUntilGone(HWND window, DWORD timeoutMs = 5000);

// Saves what the screen shows of `window` as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::wstring& path);
// The Unix path an environment variable names, as this program reaches it on drive Z:; empty
// when the variable is not set.
std::wstring PathFromEnvironment(const wchar_t* name);
// Folder for screenshots (CORRIVO_SHOT_DIR), empty when not set.
std::wstring ScreenshotDir();

}  // namespace corrivo::gui
