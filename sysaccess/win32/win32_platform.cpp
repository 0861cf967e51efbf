// The real platform: ShellExecuteW for commands, Sleep, toolhelp, the shell's folders.
#include <string>
#include <vector>

#include "sysaccess/clock.h"
#include "sysaccess/platform.h"
#include "sysaccess/platform_primitives.h"
#include "sysaccess/registry.h"
#include "sysaccess/shell.h"
#include "sysaccess/win32/win32_api.h"

#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

namespace corrivo {

namespace win32 {
std::wstring SystemFilePath(const wchar_t* fileName) {
  wchar_t buffer[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  if (n == 0 || n > MAX_PATH) return fileName;  // cannot happen on a working system
  std::wstring path(buffer, n);
  if (path.back() != L'\\') path += L'\\';
  return path + fileName;
}
}  // namespace win32

namespace {

class ShellRunner : public CommandRunner {
 public:
  bool Run(const std::wstring& parameters) override {
    // The interpreter by its full path: an elevated program never picks up a "cmd.exe" planted
    // in the current folder.
    std::wstring cmd = win32::SystemFilePath(L"cmd.exe");
    HINSTANCE rc = ShellExecuteW(nullptr, L"open", cmd.c_str(), parameters.c_str(), nullptr, SW_HIDE);
    return reinterpret_cast<INT_PTR>(rc) > 32;
  }
};

class Win32Clock : public Clock {
 public:
  void SleepMs(std::uint32_t ms) override { ::Sleep(ms); }
  // GetTickCount wraps after 49 days; only short differences are ever taken.
  std::uint64_t NowMs() override { return GetTickCount(); }
};

// The toolhelp functions, looked up once in the already loaded kernel32.
struct ToolhelpApi {
  typedef HANDLE(WINAPI* SnapshotFn)(DWORD, DWORD);
  typedef BOOL(WINAPI* ProcessWalkFn)(HANDLE, LPPROCESSENTRY32W);
  SnapshotFn CreateToolhelp32Snapshot = nullptr;
  ProcessWalkFn Process32FirstW = nullptr;
  ProcessWalkFn Process32NextW = nullptr;

  static const ToolhelpApi& Get() {
    static const ToolhelpApi api = [] {
      ToolhelpApi a;
      HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
      a.CreateToolhelp32Snapshot = win32::GetProc<SnapshotFn>(kernel, "CreateToolhelp32Snapshot");
      if (a.CreateToolhelp32Snapshot) {
        a.Process32FirstW = win32::GetProc<ProcessWalkFn>(kernel, "Process32FirstW");
        a.Process32NextW = win32::GetProc<ProcessWalkFn>(kernel, "Process32NextW");
      }
      return a;
    }();
    return api;
  }
};

class Win32ProcessControl : public ProcessControl {
 public:
  bool KillByName(const std::wstring& exeName) override {
    const ToolhelpApi& api = ToolhelpApi::Get();
    if (!api.CreateToolhelp32Snapshot || !api.Process32FirstW || !api.Process32NextW) return false;
    win32::UniqueHandle snapshot(api.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    bool result = false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = api.Process32FirstW(snapshot.get(), &entry); more;
         more = api.Process32NextW(snapshot.get(), &entry)) {
      if (!ProcessNameMatches(entry.szExeFile, exeName)) continue;
      win32::UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
      result = process && TerminateProcess(process.get(), 0) != FALSE;
    }
    return result;
  }
};

std::wstring FromBuffer(const wchar_t* buffer, UINT length, UINT capacity) {
  if (length == 0 || length >= capacity) return std::wstring();
  return std::wstring(buffer, length);
}

}  // namespace

CommandRunner& PlatformRunner() {
  static ShellRunner runner;
  return runner;
}

Clock& SystemClock() {
  static Win32Clock clock;
  return clock;
}

ProcessControl& PlatformProcessControl() {
  static Win32ProcessControl control;
  return control;
}

bool SwitchWow64FsRedirection(bool disable, Wow64RedirectionState* state) {
  typedef BOOL(WINAPI * DisableFn)(PVOID*);
  typedef BOOL(WINAPI * RevertFn)(PVOID);
  if (!IsWow64()) return false;
  win32::UniqueModule kernel(LoadLibraryW(win32::SystemFilePath(L"kernel32.dll").c_str()));
  if (disable) {
    auto fn = win32::GetProc<DisableFn>(kernel.get(), "Wow64DisableWow64FsRedirection");
    return fn && fn(state) != FALSE;
  }
  auto fn = win32::GetProc<RevertFn>(kernel.get(), "Wow64RevertWow64FsRedirection");
  return fn && fn(*state) != FALSE;
}

std::wstring SpecialFolderPath(int csidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return std::wstring();
  return buffer;
}

std::wstring ExpandEnvironmentText(const std::wstring& text, std::size_t capacity) {
  std::vector<wchar_t> buffer(capacity);
  DWORD n = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), static_cast<DWORD>(capacity));
  if (n == 0 || n > capacity) return std::wstring();
  return std::wstring(buffer.data());
}

std::wstring WindowsFolder() {
  wchar_t buffer[256] = {};
  return FromBuffer(buffer, GetWindowsDirectoryW(buffer, 255), 256);
}

std::wstring SystemFolder() {
  wchar_t buffer[256] = {};
  return FromBuffer(buffer, GetSystemDirectoryW(buffer, 255), 256);
}

std::wstring TempFolder() {
  wchar_t buffer[256] = {};
  return FromBuffer(buffer, GetTempPathW(255, buffer), 256);
}

std::wstring ProgramFileName() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

namespace primitives {

bool QueryOsVersion(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* productType) {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return false;
  *major = info.dwMajorVersion;
  *minor = info.dwMinorVersion;
  *productType = info.wProductType;
  return true;
}

bool FolderExists(const std::wstring& folder) {
  DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnumerateFolder(const std::wstring& folder, std::vector<std::wstring>* names) {
  WIN32_FIND_DATAW data = {};
  HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  do {
    names->push_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return true;
}

}  // namespace primitives
}  // namespace corrivo
