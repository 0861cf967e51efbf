// The Windows calls behind the special steps: the ShellLink COM class, the home-page
// protection component and the Internet Options module.
#include "catalog/step_backend.h"
#include "sysaccess/win32/win32_api.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace corrivo {
namespace {

// COM for the life of one link object. The window's thread is already initialised (then this
// only counts up); the worker thread may not be, and must not be left initialised either.
class ComScope {
 public:
  ComScope() : hr_(CoInitialize(nullptr)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

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
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link_.put()))))
      return false;
    if (FAILED(link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file_.put())))) return false;
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

class Win32SpecialStepBackend : public SpecialStepBackend {
 public:
  std::unique_ptr<ShellLinkObject> CreateShellLink(const ShellLinkFields& fields) override {
    auto link = std::make_unique<Win32ShellLink>();
    if (!link->Create(fields)) return nullptr;
    return link;
  }

  bool FileExists(const std::wstring& path) override {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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
    win32::UniqueModule module(LoadLibraryW(inetcplPath.c_str()));
    if (!module) return InetcplOutcome::NotLoaded;
    auto reset = win32::GetProc<ResetFn>(module.get(), "ResetIEtoDefaults");
    if (!reset) return InetcplOutcome::NoExport;
    reset(nullptr);
    return InetcplOutcome::Called;
  }
};

}  // namespace

SpecialStepBackend& PlatformSpecialStepBackend() {
  static Win32SpecialStepBackend backend;
  return backend;
}

}  // namespace corrivo
