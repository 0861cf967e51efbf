// The registry as the operations see it: a handful of primitives shaped like advapi32's, so that
// the operations' own rules (full access, view flag, existence tests, create-on-write) live in
// portable code and run unchanged against the real registry or the in-memory one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corrivo {

enum class RegRoot : std::uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
  CurrentConfig = 0x80000005u,
};

enum class RegType : std::uint32_t {
  None = 0,
  Sz = 1,
  ExpandSz = 2,
  Binary = 3,
  Dword = 4,
  MultiSz = 7,
  Qword = 11,
};

// Access masks, with the values Windows gives them.
namespace regaccess {
constexpr std::uint32_t kAllAccess = 0xF003F;
constexpr std::uint32_t kReadControl = 0x00020000;
constexpr std::uint32_t kQueryValue = 0x0001;
constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kExistenceTest = kReadControl | kQueryValue | kEnumerateSubKeys;
constexpr std::uint32_t kWow64_64Key = 0x0100;
}  // namespace regaccess

// Win32 error codes the backends answer with (0 is success).
namespace regerr {
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kInvalidParameter = 87;
constexpr long kBadPathName = 161;
constexpr long kMoreData = 234;
constexpr long kNoMoreItems = 259;
}  // namespace regerr

using RegHandle = std::uintptr_t;

// Where a key really is: the root and path a backend acts on for a root and path it is asked
// for. Most backends act where they are asked; one that maps a root elsewhere (another user's
// hive) says so here, so previews and journals name the key that changes.
struct RegistryLocation {
  RegRoot root;
  std::wstring subkey;
  bool operator==(const RegistryLocation&) const = default;
};

// One registry. Subkey paths use backslashes; like advapi32 a backend rejects a path that
// begins with a backslash (kBadPathName), so callers strip it first. Every call answers a
// Win32 error code; none throws.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  // True when this is a 32-bit process on 64-bit Windows.
  virtual bool IsWow64() = 0;

  virtual long OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access,
                       RegHandle* out) = 0;
  // Opens the key, creating it and every missing key above it.
  virtual long CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access,
                         RegHandle* out) = 0;
  virtual long CloseKey(RegHandle key) = 0;

  virtual long QueryValue(RegHandle key, const std::wstring& name, RegType* type,
                          std::vector<std::uint8_t>* data) = 0;
  virtual long SetValue(RegHandle key, const std::wstring& name, RegType type,
                        const std::vector<std::uint8_t>& data) = 0;
  virtual long DeleteValue(RegHandle key, const std::wstring& name) = 0;

  // Name of the subkey at `index`, kNoMoreItems past the end.
  virtual long EnumSubKey(RegHandle key, std::uint32_t index, std::wstring* name) = 0;
  // Name of the value at `index`, kNoMoreItems past the end.
  virtual long EnumValue(RegHandle key, std::uint32_t index, std::wstring* name) = 0;
  // Deletes one subkey that has no subkeys of its own. `viewAccess` carries the view flag.
  virtual long DeleteSubKey(RegHandle parent, const std::wstring& name, std::uint32_t viewAccess) = 0;

  // Where `subkey` of `root` really is (see RegistryLocation).
  virtual RegistryLocation Locate(RegRoot root, const std::wstring& subkey) { return {root, subkey}; }
};

// A backend that passes every call on to another one: a wrapper overrides only what it changes.
class ForwardingRegistryBackend : public RegistryBackend {
 public:
  explicit ForwardingRegistryBackend(RegistryBackend& inner) : inner_(inner) {}
  RegistryBackend& Inner() const { return inner_; }

  bool IsWow64() override { return inner_.IsWow64(); }
  long OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override {
    return inner_.OpenKey(root, subkey, access, out);
  }
  long CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override {
    return inner_.CreateKey(root, subkey, access, out);
  }
  long CloseKey(RegHandle key) override { return inner_.CloseKey(key); }
  long QueryValue(RegHandle key, const std::wstring& name, RegType* type, std::vector<std::uint8_t>* data) override {
    return inner_.QueryValue(key, name, type, data);
  }
  long SetValue(RegHandle key, const std::wstring& name, RegType type, const std::vector<std::uint8_t>& data) override {
    return inner_.SetValue(key, name, type, data);
  }
  long DeleteValue(RegHandle key, const std::wstring& name) override { return inner_.DeleteValue(key, name); }
  long EnumSubKey(RegHandle key, std::uint32_t index, std::wstring* name) override {
    return inner_.EnumSubKey(key, index, name);
  }
  long EnumValue(RegHandle key, std::uint32_t index, std::wstring* name) override {
    return inner_.EnumValue(key, index, name);
  }
  long DeleteSubKey(RegHandle parent, const std::wstring& name, std::uint32_t viewAccess) override {
    return inner_.DeleteSubKey(parent, name, viewAccess);
  }
  RegistryLocation Locate(RegRoot root, const std::wstring& subkey) override { return inner_.Locate(root, subkey); }

 protected:
  RegistryBackend& inner_;
};

// The running system's registry (the in-memory one on Linux builds).
RegistryBackend& PlatformRegistry();

// Owns one open key of a backend.
class RegKey {
 public:
  RegKey() = default;
  RegKey(RegistryBackend& backend, RegHandle handle) : backend_(&backend), handle_(handle) {}
  ~RegKey() { Close(); }
  RegKey(RegKey&& other) noexcept : backend_(other.backend_), handle_(other.handle_) { other.backend_ = nullptr; }
  RegKey& operator=(RegKey&& other) noexcept;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  explicit operator bool() const { return backend_ != nullptr; }
  RegHandle get() const { return handle_; }
  void Close();

 private:
  RegistryBackend* backend_ = nullptr;
  RegHandle handle_ = 0;
};

}  // namespace corrivo
