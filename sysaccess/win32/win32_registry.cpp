#include <vector>

#include "sysaccess/registry_backend.h"
#include "sysaccess/win32/win32_api.h"

namespace corrivo {
namespace {

typedef LONG(WINAPI* RegDeleteKeyExWFn)(HKEY, LPCWSTR, REGSAM, DWORD);

HKEY ToHkey(RegRoot root) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::uint32_t>(root))); }
HKEY ToHkey(RegHandle h) { return reinterpret_cast<HKEY>(h); }

class Win32Registry : public RegistryBackend {
 public:
  bool IsWow64() override { return win32::IsWow64Process(); }

  long OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(ToHkey(root), subkey.c_str(), 0, access, &key);
    if (rc == ERROR_SUCCESS) *out = reinterpret_cast<RegHandle>(key);
    return rc;
  }

  long CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(ToHkey(root), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                              nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) *out = reinterpret_cast<RegHandle>(key);
    return rc;
  }

  long CloseKey(RegHandle key) override { return RegCloseKey(ToHkey(key)); }

  long QueryValue(RegHandle key, const std::wstring& name, RegType* type,
                  std::vector<std::uint8_t>* data) override {
    DWORD t = 0, size = 0;
    LONG rc = RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &t, nullptr, &size);
    if (rc != ERROR_SUCCESS) return rc;
    // The value may grow between the two calls; ask again until it fits.
    for (int attempt = 0; attempt < 4; ++attempt) {
      std::vector<std::uint8_t> buffer(size);
      DWORD got = size;
      rc = RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &t, buffer.empty() ? nullptr : buffer.data(), &got);
      if (rc == ERROR_MORE_DATA) {
        size = got;
        continue;
      }
      if (rc != ERROR_SUCCESS) return rc;
      buffer.resize(got);
      if (type) *type = static_cast<RegType>(t);
      if (data) *data = std::move(buffer);
      return ERROR_SUCCESS;
    }
    return rc;
  }

  long SetValue(RegHandle key, const std::wstring& name, RegType type,
                const std::vector<std::uint8_t>& data) override {
    return RegSetValueExW(ToHkey(key), name.c_str(), 0, static_cast<DWORD>(type),
                          data.empty() ? nullptr : data.data(), static_cast<DWORD>(data.size()));
  }

  long DeleteValue(RegHandle key, const std::wstring& name) override {
    return RegDeleteValueW(ToHkey(key), name.c_str());
  }

  long EnumSubKey(RegHandle key, std::uint32_t index, std::wstring* name) override {
    wchar_t buffer[256];  // registry key names are at most 255 characters
    DWORD length = 256;
    LONG rc = RegEnumKeyExW(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) name->assign(buffer, length);
    return rc;
  }

  long EnumValue(RegHandle key, std::uint32_t index, std::wstring* name) override {
    std::vector<wchar_t> buffer(16384);  // value names are at most 16,383 characters
    DWORD length = 16384;
    LONG rc = RegEnumValueW(ToHkey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) name->assign(buffer.data(), length);
    return rc;
  }

  long DeleteSubKey(RegHandle parent, const std::wstring& name, std::uint32_t viewAccess) override {
    // RegDeleteKeyExW (the only way to name the view) is not on 32-bit XP: look it up, and use
    // RegDeleteKeyW where it is missing (there is no view to choose there anyway).
    HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
    auto deleteEx = win32::GetProc<RegDeleteKeyExWFn>(advapi, "RegDeleteKeyExW");
    if (deleteEx) return deleteEx(ToHkey(parent), name.c_str(), viewAccess, 0);
    return RegDeleteKeyW(ToHkey(parent), name.c_str());
  }

};

}  // namespace

RegistryBackend& PlatformRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace corrivo
