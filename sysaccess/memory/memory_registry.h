// An in-memory registry that behaves like advapi32 for everything the operations use: keys
// and value names without regard to letter case, typed values, handles, the leading-backslash
// refusal, WOW64 redirection of HKLM\Software, and chosen keys or calls that fail on purpose.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sysaccess/registry_backend.h"

namespace corrivo {

class MemoryRegistry : public RegistryBackend {
 public:
  struct Value {
    RegType type = RegType::None;
    std::vector<std::uint8_t> data;
  };

  enum class Op { OpenKey, CreateKey, QueryValue, SetValue, DeleteValue, EnumSubKey, EnumValue, DeleteSubKey };

  MemoryRegistry();
  ~MemoryRegistry() override;

  // --- RegistryBackend
  bool IsWow64() override;
  long OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override;
  long CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override;
  long CloseKey(RegHandle key) override;
  long QueryValue(RegHandle key, const std::wstring& name, RegType* type,
                  std::vector<std::uint8_t>* data) override;
  long SetValue(RegHandle key, const std::wstring& name, RegType type,
                const std::vector<std::uint8_t>& data) override;
  long DeleteValue(RegHandle key, const std::wstring& name) override;
  long EnumSubKey(RegHandle key, std::uint32_t index, std::wstring* name) override;
  long EnumValue(RegHandle key, std::uint32_t index, std::wstring* name) override;
  long DeleteSubKey(RegHandle parent, const std::wstring& name, std::uint32_t viewAccess) override;

  // --- Test controls. Paths here are plain (no leading backslash needed; one is accepted) and
  // address the native view.
  void SetWow64(bool wow64);
  // Opens asking for more than read rights fail with access denied at this key and below.
  void DenyFullAccess(RegRoot root, const std::wstring& path);
  // Every open fails with access denied at this key and below.
  void DenyAllAccess(RegRoot root, const std::wstring& path);
  // Every call of `op` answers `error` from now on (0 lifts it).
  void FailOperation(Op op, long error);

  void Put(RegRoot root, const std::wstring& path, const std::wstring& name, RegType type,
           std::vector<std::uint8_t> data);
  void PutDword(RegRoot root, const std::wstring& path, const std::wstring& name, std::uint32_t value);
  void PutString(RegRoot root, const std::wstring& path, const std::wstring& name,
                 const std::wstring& text, RegType type = RegType::Sz);
  void PutKey(RegRoot root, const std::wstring& path);

  std::optional<Value> Get(RegRoot root, const std::wstring& path, const std::wstring& name) const;
  std::optional<std::uint32_t> GetDword(RegRoot root, const std::wstring& path, const std::wstring& name) const;
  // The text of a REG_SZ or REG_EXPAND_SZ value (its type in `type` when given).
  std::optional<std::wstring> GetString(RegRoot root, const std::wstring& path, const std::wstring& name,
                                        RegType* type = nullptr) const;
  bool HasKey(RegRoot root, const std::wstring& path) const;
  // Subkey and value names of a key as stored (original letter case), sorted.
  std::vector<std::wstring> SubKeys(RegRoot root, const std::wstring& path) const;
  std::vector<std::wstring> ValueNames(RegRoot root, const std::wstring& path) const;
  // Handles not yet closed (every operation must close what it opens).
  std::size_t OpenHandleCount() const;
  // Every key and value, one line each, for failure messages and whole-registry comparisons.
  std::wstring Dump() const;

 private:
  struct Node;
  struct Handle {
    RegRoot root;
    std::vector<std::wstring> path;  // lower-case components
  };

  long Resolve(RegRoot root, const std::wstring& subkey, std::uint32_t access,
               std::vector<std::wstring>* components, std::vector<std::wstring>* original) const;
  Node* Find(RegRoot root, const std::vector<std::wstring>& path) const;
  Node* FindHandle(RegHandle key) const;
  long CheckAccess(RegRoot root, const std::vector<std::wstring>& path, std::uint32_t access) const;
  bool Failing(Op op, long* error) const;
  RegHandle NewHandle(RegRoot root, std::vector<std::wstring> path);
  Node* MakePath(RegRoot root, const std::wstring& path);

  mutable std::recursive_mutex mutex_;
  std::map<RegRoot, std::unique_ptr<Node>> roots_;
  std::map<RegHandle, Handle> handles_;
  RegHandle nextHandle_ = 0x1000;
  bool wow64_ = false;
  struct Denial {
    RegRoot root;
    std::vector<std::wstring> path;
    bool all;
  };
  std::vector<Denial> denials_;
  std::map<Op, long> failures_;
};

}  // namespace corrivo
