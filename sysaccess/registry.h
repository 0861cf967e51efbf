// The registry operations every repair, check and start-up detection goes through. Each one
// opens its own key, does one thing, closes it and turns every failure into a plain result.
// A Registry works on the backend it is given: the real one, the in-memory one of the tests,
// or any other that keeps the backend contract.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sysaccess/registry_backend.h"

namespace corrivo {

// What ReadInteger answers when it has no DWORD to give.
constexpr std::int32_t RegNoValue = 2147483647;

// ValueState's answers.
enum RegValueState : int {
  kValuePresent = 0,
  kKeyMissing = 1,
  kValueMissing = 2,
  kKeyDenied = -1,
};

// "HKEY_CURRENT_USER" and the like.
const wchar_t* RootName(RegRoot root);
// The other way round; false for a name that is not one of the five roots (never a guess).
bool ParseRootName(const std::wstring& name, RegRoot* root);

// A value as stored: its type and exact bytes.
struct RegistryValue {
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;
  bool operator==(const RegistryValue&) const = default;
};

class Registry {
 public:
  explicit Registry(RegistryBackend& backend) : backend_(&backend) {}

  RegistryBackend& Backend() const { return *backend_; }
  bool IsWow64() const { return backend_->IsWow64(); }

  // Key paths may start with a backslash, meaning "from the root".
  bool WriteInteger(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                    std::int32_t value) const;
  std::int32_t ReadInteger(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName) const;
  bool DeleteValue(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName) const;
  int ValueState(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName) const;
  bool CreateKey(RegRoot root, const std::wstring& keyPath) const;
  bool DeleteKey(RegRoot root, const std::wstring& keyPath) const;
  std::wstring ReadString(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName) const;
  bool WriteString(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                   const std::wstring& data) const;
  bool WriteExpandString(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                         const std::wstring& data) const;
  // Sets the low bits of byte 4 of a binary value to 0011 (the Sticky Notes warning).
  bool PatchBinaryFlags(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName) const;
  // Byte 4 of the value as decimal text; `result` is left as it was when it cannot be read.
  void ReadBinaryFlags(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                       std::wstring& result) const;

  // Whole values of any type, and what a key holds: for previews, journals and undo.
  bool KeyExists(RegRoot root, const std::wstring& keyPath) const;
  std::optional<RegistryValue> ReadValue(RegRoot root, const std::wstring& keyPath,
                                         const std::wstring& valueName) const;
  // Creates the key when needed.
  bool WriteValue(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                  const RegistryValue& value) const;
  // Names as stored; empty when the key cannot be read.
  std::vector<std::wstring> SubKeyNames(RegRoot root, const std::wstring& keyPath) const;
  std::vector<std::wstring> ValueNames(RegRoot root, const std::wstring& keyPath) const;
  // The same, false when the key cannot be opened or listed to its end (names so far kept).
  bool ListSubKeys(RegRoot root, const std::wstring& keyPath, std::vector<std::wstring>* names) const;
  bool ListValues(RegRoot root, const std::wstring& keyPath, std::vector<std::wstring>* names) const;

  // The root and path (without a leading backslash) that an operation on this key acts on.
  RegistryLocation Locate(RegRoot root, const std::wstring& keyPath) const;

 private:
  RegistryBackend* backend_;
};

}  // namespace corrivo
