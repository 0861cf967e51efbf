// The window the taskbar and the task switcher show for the program: invisible (it has no
// size), titled with the application's name, and the owner of the main window, which thus
// keeps its longer caption for itself and for the message boxes it owns. Activation that
// reaches it (a click on the taskbar button, Alt+Tab) is passed on to the main window.
#pragma once

#include "sysaccess/win32/win32_api.h"

namespace corrivo::app {

class TaskbarWindow {
 public:
  TaskbarWindow() = default;
  TaskbarWindow(const TaskbarWindow&) = delete;
  TaskbarWindow& operator=(const TaskbarWindow&) = delete;

  bool Create(HINSTANCE instance, HICON icon);
  HWND hwnd() const { return hwnd_; }
  // The window it stands for on the taskbar (owned by this one).
  void Represent(HWND main) { main_ = main; }
  // Puts the button on the taskbar; the main window is shown by its own code.
  void Show();

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void OnActivate(WPARAM wp);
  void OnSize(WPARAM wp);
  bool OnSysCommand(WPARAM wp);

  HWND hwnd_ = nullptr;
  HWND main_ = nullptr;
};

// The main window's side of the pairing: minimising also minimises the taskbar button, and
// restoring (from the window, the button or a second copy) brings both back.
void MinimiseTogether(HWND main);
void RestoreTogether(HWND main);

}  // namespace corrivo::app
