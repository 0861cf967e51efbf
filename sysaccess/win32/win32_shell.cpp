// The shell and component calls of the few repairs that need more than the registry and
// commands: shortcuts through COM, the home-page protection library, the Internet Options
// reset, ending processes, and the desktop's refresh.
#include "sysaccess/shell_services.h"
#include "sysaccess/win32/win32_api.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

namespace corrivo {
namespace {

// COM lives in ole32, which only the shortcut repairs use: it is loaded on their first call, by
// its full path in the system folder, and then stays (a link object may be made on either
// thread). Not loading it at start keeps it and the libraries it brings out of the start-up.
struct Ole32Api {
  typedef HRESULT(WINAPI* InitializeFn)(LPVOID);
  typedef void(WINAPI* UninitializeFn)();
  typedef HRESULT(WINAPI* CreateInstanceFn)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  InitializeFn CoInitialize = nullptr;
  UninitializeFn CoUninitialize = nullptr;
  CreateInstanceFn CoCreateInstance = nullptr;

  bool Loaded() const { return CoInitialize && CoUninitialize && CoCreateInstance; }

  static const Ole32Api& Get() {
    static const Ole32Api api = [] {
      Ole32Api a;
      HMODULE ole32 = win32::LoadSystemLibrary(L"ole32.dll");
      a.CoInitialize = win32::GetProc<InitializeFn>(ole32, "CoInitialize");
      a.CoUninitialize = win32::GetProc<UninitializeFn>(ole32, "CoUninitialize");
      a.CoCreateInstance = win32::GetProc<CreateInstanceFn>(ole32, "CoCreateInstance");
      return a;
    }();
    return api;
  }
};

// COM for the life of one link object. The window's thread may already be initialised (then
// this only counts up); the worker thread may not be, and must not be left initialised either.
class ComScope {
 public:
  ComScope() : hr_(Ole32Api::Get().Loaded() ? Ole32Api::Get().CoInitialize(nullptr) : E_FAIL) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) Ole32Api::Get().CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool Ready() const { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* get() const { return p_; }
  T** put() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

class Win32ShellLink : public ShellLinkObject {
 public:
  bool Create(const ShellLinkFields& fields) {
    if (!com_.Ready()) return false;
    if (FAILED(Ole32Api::Get().CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                                reinterpret_cast<void**>(link_.put()))))
      return false;
    if (FAILED(link_->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(file_.put())))) return false;
    link_->SetPath(fields.target.c_str());
    link_->SetWorkingDirectory(fields.workingDirectory.c_str());
    link_->SetDescription(fields.description.c_str());
    return true;
  }

  bool SaveTo(const std::wstring& path) override { return SUCCEEDED(file_->Save(path.c_str(), FALSE)); }

 private:
  ComScope com_;  // declared first: released last
  ComPtr<IShellLinkW> link_;
  ComPtr<IPersistFile> file_;
};

class Win32HomePageLibrary : public HomePageLibrary {
 public:
  // The component's one export: stdcall, five arguments, a one-byte Boolean.
  typedef BOOLEAN(WINAPI* FuncFn)(const wchar_t* target, const wchar_t* request, DWORD requestBytes,
                                  void* reply, DWORD* replySize);

  explicit Win32HomePageLibrary(HMODULE module)
      : module_(module), func_(win32::GetProc<FuncFn>(module, "Func")) {}

  bool HasFunc() override { return func_ != nullptr; }

  bool CallFunc(const std::wstring& target, const std::wstring& request, std::uint32_t requestBytes,
                std::uint8_t* reply, std::uint32_t* replySize) override {
    if (!func_) return false;
    DWORD size = *replySize;
    BOOLEAN ok = func_(target.c_str(), request.c_str(), requestBytes, reply, &size);
    *replySize = size;
    return ok != 0;
  }

 private:
  win32::UniqueModule module_;
  FuncFn func_;
};

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

class Win32ShellServices : public ShellServices {
 public:
  bool KillProcessesByName(const std::wstring& exeName) override {
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

  void NotifyAssociationsChanged() override { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr); }

  // F5 to the desktop's list view, with a shell notification in between; a button-up rather
  // than a key-up is what the desktop has always been sent here.
  void RefreshDesktop() override {
    HWND worker = FindWindowW(L"WorkerW", nullptr);
    HWND view = worker ? FindWindowExW(worker, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
    HWND list = view ? FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
    if (!list) return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(list, WM_KEYDOWN, VK_F5, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    NotifyAssociationsChanged();
    SendMessageTimeoutW(list, WM_RBUTTONUP, VK_F5, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  }

 public:
  std::unique_ptr<ShellLinkObject> CreateShellLink(const ShellLinkFields& fields) override {
    auto link = std::make_unique<Win32ShellLink>();
    if (!link->Create(fields)) return nullptr;
    return link;
  }

  std::unique_ptr<HomePageLibrary> LoadHomePageLibrary(const std::wstring& fullPath) override {
    // By full path only; the component's own dependencies are looked for beside it first.
    HMODULE module = LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return nullptr;
    return std::make_unique<Win32HomePageLibrary>(module);
  }

  bool CurrentSessionId(std::uint32_t* sessionId) override {
    DWORD id = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &id)) return false;
    *sessionId = id;
    return true;
  }

  InetcplOutcome ResetIEToDefaults(const std::wstring& inetcplPath) override {
    typedef void(WINAPI * ResetFn)(HWND owner);
    // Its own dependencies are then looked for beside it, in the system folder, not beside us.
    win32::UniqueModule module(LoadLibraryExW(inetcplPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module) return InetcplOutcome::NotLoaded;
    auto reset = win32::GetProc<ResetFn>(module.get(), "ResetIEtoDefaults");
    if (!reset) return InetcplOutcome::NoExport;
    reset(nullptr);
    return InetcplOutcome::Called;
  }
};

}  // namespace

namespace win32 {
ShellServices& PlatformShell() {
  static Win32ShellServices shell;
  return shell;
}
}  // namespace win32

}  // namespace corrivo
