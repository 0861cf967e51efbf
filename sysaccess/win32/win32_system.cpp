// The running Windows: commands, the clock, the operating system's answers, and the bundle of
// services the program passes to the catalogue and the engine.
#include <memory>
#include <string>
#include <vector>

#include "sysaccess/desktop_user.h"
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

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  const std::wstring path = SystemFilePath(fileName);
  return path.empty() ? nullptr : LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
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

std::wstring KnownFolderPath(int csidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return std::wstring();
  return buffer;
}

// The shared Windows folder even on a terminal server, where GetWindowsDirectory is per user.
std::wstring WindowsFolderOfSystem() {
  wchar_t buffer[MAX_PATH + 1] = {};
  UINT n = GetSystemWindowsDirectoryW(buffer, MAX_PATH);
  return n == 0 || n > MAX_PATH ? std::wstring() : std::wstring(buffer, n);
}

std::wstring SystemFolderOfProcess() {
  wchar_t buffer[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  return n == 0 || n > MAX_PATH ? std::wstring() : std::wstring(buffer, n);
}

// The 64-bit Program Files folder as the system records it; a 32-bit process is told the
// (x86) one by the shell.
std::wstring NativeProgramFiles() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                    KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
    return std::wstring();
  wchar_t buffer[MAX_PATH + 1] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t), type = 0;
  LONG rc = RegQueryValueExW(key, L"ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) ? std::wstring(buffer) : std::wstring();
}

std::wstring Parent(const std::wstring& folder) {
  const std::size_t slash = folder.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

EnvironmentAnswers SystemAnswers(bool nativeWorld) {
  EnvironmentAnswers a;
  a.windowsFolder = WindowsFolderOfSystem();
  a.systemFolder = SystemFolderOfProcess();
  const bool wow64 = win32::IsWow64Process();
  a.programFiles = wow64 && nativeWorld ? NativeProgramFiles() : KnownFolderPath(CSIDL_PROGRAM_FILES);
  if (wow64) a.programFilesX86 = KnownFolderPath(CSIDL_PROGRAM_FILESX86);
  a.commonProgramFiles = KnownFolderPath(CSIDL_PROGRAM_FILES_COMMON);
  a.programData = KnownFolderPath(CSIDL_COMMON_APPDATA);
  a.appData = KnownFolderPath(CSIDL_APPDATA);
  a.localAppData = KnownFolderPath(CSIDL_LOCAL_APPDATA);
  a.userProfile = KnownFolderPath(CSIDL_PROFILE);
  // XP keeps Temp beside "Application Data" under "Local Settings"; later versions inside it.
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  const bool xp = GetVersionExW(&version) && version.dwMajorVersion < 6;
  if (!a.localAppData.empty()) a.temp = (xp ? Parent(a.localAppData) : a.localAppData) + L"\\Temp";
  wchar_t name[256] = {};
  DWORD size = 256;
  if (GetComputerNameW(name, &size)) a.computerName.assign(name, size);
  size = 256;
  if (GetUserNameW(name, &size) && size > 0) a.userName.assign(name, size - 1);
  return a;
}

std::vector<wchar_t> EnvironmentBlock(const std::vector<std::wstring>& entries) {
  std::vector<wchar_t> block;
  for (const auto& e : entries) {
    block.insert(block.end(), e.begin(), e.end());
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  if (block.size() == 1) block.push_back(L'\0');
  return block;
}

// Waits for the process while the calling thread's window keeps painting and answering.
void WaitAnswering(HANDLE process, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return;
    const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    if (r != WAIT_OBJECT_0 + 1) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

class ShellRunner : public CommandRunner {
 public:
  bool Run(const std::wstring& parameters, CommandWorld world) override {
    const std::wstring windows = WindowsFolderOfSystem();
    const bool wow64 = win32::IsWow64Process();
    const bool sysnative =
        wow64 && !windows.empty() && GetFileAttributesW((windows + L"\\Sysnative").c_str()) != INVALID_FILE_ATTRIBUTES;
    const auto interpreters = CommandInterpreters(world, wow64, sysnative, windows, SystemFolderOfProcess());
    if (interpreters.empty()) return false;
    bool started = true;
    for (std::size_t i = 0; i < interpreters.size(); ++i)
      started = Start(interpreters[i], parameters, i == 0) && started;
    return started;
  }

 private:
  static bool Start(const Interpreter& interpreter, const std::wstring& parameters, bool nativeWorld) {
    std::vector<wchar_t> environment = EnvironmentBlock(CommandEnvironment(SystemAnswers(nativeWorld)));
    // The system folder as working folder: the programs and DLL names a command gives are then
    // never looked for in whatever folder the program was started from.
    const std::wstring folder = interpreter.path.substr(0, interpreter.path.find_last_of(L'\\'));
    std::wstring commandLine = L"\"" + interpreter.path + L"\" " + parameters;

    // No input at all: a command that asks a question (net stop of a service others depend on)
    // reads the end of its input instead of waiting for an answer nobody can give.
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    win32::UniqueHandle nulIn(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                          OPEN_EXISTING, 0, nullptr));
    win32::UniqueHandle nulOut(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                           OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nulIn.get();
    startup.hStdOutput = nulOut.get();
    startup.hStdError = nulOut.get();
    PROCESS_INFORMATION process = {};
    BOOL ok;
    {
      std::unique_ptr<win32::Wow64FsRedirectionOff> nativeView;
      if (interpreter.redirectionOff) nativeView = std::make_unique<win32::Wow64FsRedirectionOff>();
      ok = CreateProcessW(interpreter.path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, environment.data(), folder.c_str(), &startup,
                          &process);
    }
    if (!ok) return false;
    win32::UniqueHandle processHandle(process.hProcess);
    win32::UniqueHandle threadHandle(process.hThread);
    WaitAnswering(process.hProcess, kCommandTimeoutMs);
    return true;
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

  std::wstring FolderPath(KnownFolder folder) override { return KnownFolderPath(CsidlOf(folder)); }
  std::wstring WindowsFolder() override { return WindowsFolderOfSystem(); }
  std::wstring SystemFolder() override { return SystemFolderOfProcess(); }

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

std::int64_t UnixSecondsNow() {
  FILETIME ft = {};
  GetSystemTimeAsFileTime(&ft);
  const std::uint64_t ticks = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000000u) - 11644473600LL;  // 1601 to 1970
}

}  // namespace

JournalPlace PlatformJournalPlace(const std::wstring& folder) {
  wchar_t name[257] = {};
  DWORD size = 257;
  JournalPlace place;
  place.folder = folder;
  if (GetUserNameW(name, &size)) place.user = name;
  place.unixSeconds = UnixSecondsNow;
  return place;
}

UserHiveRegistry& PlatformUserRegistry() {
  static UserHiveRegistry registry(PlatformRegistry());
  return registry;
}

System& PlatformSystem() {
  static ShellRunner runner;
  static Win32Clock clock;
  static Win32OperatingSystem os;
  static System system{PlatformUserRegistry(), runner, win32::PlatformFiles(), os, win32::PlatformShell(), clock};
  return system;
}

}  // namespace corrivo
