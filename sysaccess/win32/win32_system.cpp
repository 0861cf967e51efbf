// The running Windows: commands, the clock, the operating system's answers, and the bundle of
// services the program passes to the catalogue and the engine.
#include <string>
#include <vector>

#include "sysaccess/system.h"
#include "sysaccess/win32/win32_api.h"

#include <shellapi.h>
#include <shlobj.h>

namespace corrivo {
namespace win32 {

FileService& PlatformFiles();
ShellServices& PlatformShell();

std::wstring SystemFilePath(const wchar_t* fileName) {
  wchar_t buffer[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  if (n == 0 || n > MAX_PATH) return std::wstring();
  std::wstring path(buffer, n);
  if (path.back() != L'\\') path += L'\\';
  return path + fileName;
}

bool IsWow64Process() {
  typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
  static const bool wow64 = [] {
    // kernel32 is mapped into every process: GetModuleHandle loads nothing.
    auto fn = GetProc<IsWow64ProcessFn>(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process");
    BOOL answer = FALSE;
    return fn && fn(GetCurrentProcess(), &answer) && answer != FALSE;
  }();
  return wow64;
}

namespace {
typedef BOOL(WINAPI* DisableRedirectionFn)(PVOID*);
typedef BOOL(WINAPI* RevertRedirectionFn)(PVOID);

struct RedirectionApi {
  DisableRedirectionFn disable = nullptr;
  RevertRedirectionFn revert = nullptr;
};

const RedirectionApi& Redirection() {
  static const RedirectionApi api = [] {
    RedirectionApi a;
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    a.disable = GetProc<DisableRedirectionFn>(kernel, "Wow64DisableWow64FsRedirection");
    a.revert = GetProc<RevertRedirectionFn>(kernel, "Wow64RevertWow64FsRedirection");
    return a;
  }();
  return api;
}
}  // namespace

Wow64FsRedirectionOff::Wow64FsRedirectionOff() {
  const RedirectionApi& api = Redirection();
  if (IsWow64Process() && api.disable && api.revert) switched_ = api.disable(&state_) != FALSE;
}

Wow64FsRedirectionOff::~Wow64FsRedirectionOff() {
  if (switched_) Redirection().revert(state_);
}

}  // namespace win32

namespace {

class ShellRunner : public CommandRunner {
 public:
  bool Run(const std::wstring& parameters) override {
    const std::wstring cmd = win32::SystemFilePath(L"cmd.exe");
    if (cmd.empty()) return false;
    // The system folder as working folder: the programs and DLL names a command gives are then
    // never looked for in whatever folder the program was started from.
    const std::wstring folder = cmd.substr(0, cmd.size() - 7);
    HINSTANCE rc = ShellExecuteW(nullptr, L"open", cmd.c_str(), parameters.c_str(), folder.c_str(), SW_HIDE);
    return reinterpret_cast<INT_PTR>(rc) > 32;
  }
};

class Win32Clock : public Clock {
 public:
  void SleepMs(std::uint32_t ms) override { ::Sleep(ms); }
  std::uint64_t NowMs() override { return GetTickCount(); }
};

std::wstring FromBuffer(const wchar_t* buffer, UINT length, UINT capacity) {
  if (length == 0 || length >= capacity) return std::wstring();
  return std::wstring(buffer, length);
}

int CsidlOf(KnownFolder folder) {
  switch (folder) {
    case KnownFolder::DesktopDirectory: return CSIDL_DESKTOPDIRECTORY;
    case KnownFolder::ProgramFiles: return CSIDL_PROGRAM_FILES;
    case KnownFolder::AppData: return CSIDL_APPDATA;
    case KnownFolder::LocalAppData: return CSIDL_LOCAL_APPDATA;
    case KnownFolder::CommonAppData: return CSIDL_COMMON_APPDATA;
  }
  return -1;
}

class Win32OperatingSystem : public OperatingSystem {
 public:
  bool QueryVersion(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* productType) override {
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return false;
    *major = info.dwMajorVersion;
    *minor = info.dwMinorVersion;
    *productType = info.wProductType;
    return true;
  }

  std::wstring FolderPath(KnownFolder folder) override {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, CsidlOf(folder), FALSE)) return std::wstring();
    return buffer;
  }

  std::wstring WindowsFolder() override {
    wchar_t buffer[256] = {};
    // The shared Windows folder even on a terminal server, where GetWindowsDirectory is per user.
    return FromBuffer(buffer, GetSystemWindowsDirectoryW(buffer, 255), 256);
  }

  std::wstring SystemFolder() override {
    wchar_t buffer[256] = {};
    return FromBuffer(buffer, GetSystemDirectoryW(buffer, 255), 256);
  }

  std::wstring TempFolder() override {
    wchar_t buffer[256] = {};
    return FromBuffer(buffer, GetTempPathW(255, buffer), 256);
  }

  std::wstring ProgramFile() override {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
      DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
      if (n == 0) return std::wstring();
      if (n < buffer.size()) return std::wstring(buffer.data(), n);
      buffer.resize(buffer.size() * 2);
    }
  }

  std::wstring ExpandEnvironment(const std::wstring& text, std::size_t capacity) override {
    std::vector<wchar_t> buffer(capacity);
    DWORD n = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), static_cast<DWORD>(capacity));
    if (n == 0 || n > capacity) return std::wstring();
    return std::wstring(buffer.data());
  }
};

}  // namespace

System& PlatformSystem() {
  static ShellRunner runner;
  static Win32Clock clock;
  static Win32OperatingSystem os;
  static System system{PlatformRegistry(), runner, win32::PlatformFiles(), os, win32::PlatformShell(), clock};
  return system;
}

}  // namespace corrivo
