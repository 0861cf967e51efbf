#include "app/win32/taskbar_window.h"

#include "app/win32/program_identity.h"
#include "widgets/win32/control_base.h"

namespace corrivo::app {

bool TaskbarWindow::Create(HINSTANCE instance, HICON icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &TaskbarWindow::WndProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.lpszClassName = kTaskbarWindowClass;
  if (!RegisterClassExW(&wc)) return false;
  // A captioned popup with a system menu and a minimise box gets a taskbar button and the
  // taskbar's Restore, Minimise and Close; with no size it never shows on the desktop.
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  hwnd_ = CreateWindowExW(0, kTaskbarWindowClass, kApplicationTitle,
                          WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                          (work.left + work.right) / 2, (work.top + work.bottom) / 2, 0, 0, nullptr, nullptr,
                          instance, this);
  return hwnd_ != nullptr;
}

void TaskbarWindow::Show() { ShowWindow(hwnd_, SW_SHOWNA); }

LRESULT CALLBACK TaskbarWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TaskbarWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->Handle(msg, wp, lp);
  } catch (...) {
    return ui::win32::AnswerAfterException(hwnd, msg, wp, lp);
  }
}

LRESULT TaskbarWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      OnActivate(wp);
      return 0;
    case WM_SIZE:
      OnSize(wp);
      return 0;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wp)) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void TaskbarWindow::OnActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE || !main_ || IsIconic(hwnd_) || IsIconic(main_) || !IsWindowVisible(main_)) return;
  // A message box the main window waits on keeps the activation; otherwise the window itself.
  HWND target = GetLastActivePopup(main_);
  if (!target || !IsWindowVisible(target) || !IsWindowEnabled(target)) target = main_;
  SetActiveWindow(target);
}

void TaskbarWindow::OnSize(WPARAM wp) {
  // The button restored: the main window comes back with it.
  if (wp == SIZE_RESTORED && main_) RestoreTogether(main_);
}

bool TaskbarWindow::OnSysCommand(WPARAM wp) {
  const WPARAM command = wp & 0xFFF0;
  if ((command != SC_CLOSE && command != SC_MINIMIZE) || !main_) return false;
  // The taskbar's Close and Minimise do what the window's own buttons do, but not while a
  // message box of the window waits for an answer.
  if (IsWindowEnabled(main_)) {
    if (command == SC_CLOSE) PostMessageW(main_, WM_CLOSE, 0, 0);
    else SendMessageW(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  }
  return true;
}

void MinimiseTogether(HWND main) {
  HWND owner = GetWindow(main, GW_OWNER);
  if (!owner || IsIconic(owner)) return;
  // The main window hides with its button: Windows does so by itself, Wine only when the
  // button's window is the active one.
  ShowOwnedPopups(owner, FALSE);
  ShowWindow(owner, SW_MINIMIZE);
}

void RestoreTogether(HWND main) {
  if (HWND owner = GetWindow(main, GW_OWNER)) {
    if (IsIconic(owner)) ShowWindow(owner, SW_RESTORE);
    ShowOwnedPopups(owner, TRUE);
  }
  if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
}

}  // namespace corrivo::app
