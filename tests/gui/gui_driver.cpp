#include "tests/gui/gui_driver.h"

#include <cstdio>
#include <vector>

namespace corrivo::gui {
namespace {

struct FindData {
  int id;
  HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<FindData*>(lp);
  if (GetDlgCtrlID(hwnd) == d->id) {
    d->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

struct TopData {
  DWORD pid;
  const wchar_t* className;
  bool mustBeVisible;
  HWND found;
};

BOOL CALLBACK FindTop(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<TopData*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != d->pid || ClassName(hwnd) != d->className) return TRUE;
  if (d->mustBeVisible && !IsWindowVisible(hwnd)) return TRUE;
  d->found = hwnd;
  return FALSE;
}

HWND WaitForTop(DWORD pid, const wchar_t* className, bool visible, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    TopData d{pid, className, visible, nullptr};
    EnumWindows(&FindTop, reinterpret_cast<LPARAM>(&d));
    if (d.found) return d.found;
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

}  // namespace

std::wstring CorrivoExePath() {
  std::string unix = CORRIVO_EXE_UNIX;
  std::wstring path = L"Z:";
  for (char c : unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

CorrivoProcess::~CorrivoProcess() { Close(); }

bool CorrivoProcess::Start() {
  std::wstring command = L"\"" + CorrivoExePath() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != 0;
}

HWND CorrivoProcess::WaitForWindow(DWORD timeoutMs, bool mustBeVisible) {
  return WaitForTop(pi_.dwProcessId, L"TFixWindows_FormMain", mustBeVisible, timeoutMs);
}

bool CorrivoProcess::WaitForExit(DWORD timeoutMs, DWORD* code) {
  if (!pi_.hProcess) return false;
  if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(pi_.hProcess, code);
  return true;
}

void CorrivoProcess::Close() {
  if (!pi_.hProcess) return;
  if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) {
    if (HWND w = WaitForWindow(0, false)) PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
  pi_ = {};
}

HWND FindControl(HWND parent, int id) {
  FindData d{id, nullptr};
  EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&d));
  return d.found;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

std::wstring ClassName(HWND hwnd) {
  wchar_t buffer[256] = {};
  GetClassNameW(hwnd, buffer, 256);
  return buffer;
}

RECT RectIn(HWND hwnd, HWND parent) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ClickCentre(HWND control) {
  RECT r{};
  GetClientRect(control, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  // Sent, not posted: the call returns once the program has handled the click.
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(control, WM_LBUTTONUP, 0, at);
  Settle(100);
}

void PostButtonClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void Settle(DWORD ms) { Sleep(ms); }

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs) { return WaitForTop(pid, L"#32770", true, timeoutMs); }

std::wstring MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void CloseMessageBox(HWND box) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  WaitUntilGone(box);
}

HWND WaitForPopupMenu(DWORD pid, DWORD timeoutMs) { return WaitForTop(pid, L"#32768", true, timeoutMs); }

std::wstring ControlText(HWND control) {
  const auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const auto got = SendMessageW(control, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::wstring(buffer.data(), static_cast<std::size_t>(got));
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && GetTickCount() - start < timeoutMs) Sleep(50);
  return !IsWindow(window);
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(bi.bmiHeader), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((w * 3 + 3) / 4) * 4;
  const DWORD offBits = sizeof(BITMAPFILEHEADER) + sizeof(bi.bmiHeader);
  const BITMAPFILEHEADER fh{0x4D42, offBits + stride * h, 0, 0, offBits};
  bool ok = false;
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    fwrite(&fh, sizeof(fh), 1, f);
    fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f);
    fwrite(bits, stride * h, 1, f);
    fclose(f);
    ok = true;
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

std::wstring PathFromEnvironment(const wchar_t* name) {
  wchar_t buffer[1024] = {};
  const DWORD n = GetEnvironmentVariableW(name, buffer, 1024);
  if (n == 0 || n >= 1024) return {};
  std::wstring path = L"Z:";
  for (const wchar_t* p = buffer; *p; ++p) path += *p == L'/' ? L'\\' : *p;
  return path;
}

std::wstring ScreenshotDir() { return PathFromEnvironment(L"CORRIVO_SHOT_DIR"); }

}  // namespace corrivo::gui
