#include "sysaccess/registry.h"

#include "sysaccess/registry_backend.h"

#include <optional>
#include <vector>

namespace corrivo {
namespace {

// Everything one operation needs: the backend, the root and the access it asks for. Built the
// same way by every operation: ask IsWow64 first and add the 64-bit view flag on WOW64.
struct Connection {
  RegistryBackend& reg;
  RegRoot root;
  std::uint32_t access = regaccess::kAllAccess;
  std::uint32_t view = 0;

  Connection(RegistryBackend& backend, RegRoot keyRoot) : reg(backend), root(keyRoot) {
    if (reg.IsWow64()) {
      view = regaccess::kWow64_64Key;
      access |= view;
    }
  }

  // Key paths are written "from the root" with a leading backslash; the registry functions
  // refuse that spelling, so it goes before the call. A trailing backslash is passed on.
  static std::wstring Relative(const std::wstring& keyPath) {
    std::size_t start = 0;
    while (start < keyPath.size() && keyPath[start] == L'\\') ++start;
    return keyPath.substr(start);
  }

  RegKey Open(const std::wstring& keyPath) {
    RegHandle h = 0;
    if (reg.OpenKey(root, Relative(keyPath), access, &h) != regerr::kSuccess) return {};
    return RegKey(reg, h);
  }

  RegKey Create(const std::wstring& keyPath) {
    RegHandle h = 0;
    if (reg.CreateKey(root, Relative(keyPath), access, &h) != regerr::kSuccess) return {};
    return RegKey(reg, h);
  }

  // The existence test asks only for read rights.
  bool KeyExists(const std::wstring& keyPath) {
    RegHandle h = 0;
    if (reg.OpenKey(root, Relative(keyPath), regaccess::kExistenceTest | view, &h) != regerr::kSuccess)
      return false;
    reg.CloseKey(h);
    return true;
  }

  bool ValueExists(const RegKey& key, const std::wstring& name) {
    RegType type = RegType::None;
    std::vector<std::uint8_t> data;
    return reg.QueryValue(key.get(), name, &type, &data) == regerr::kSuccess;
  }

  std::optional<std::vector<std::uint8_t>> Read(const RegKey& key, const std::wstring& name,
                                                RegType* type) {
    std::vector<std::uint8_t> data;
    if (reg.QueryValue(key.get(), name, type, &data) != regerr::kSuccess) return std::nullopt;
    return data;
  }

  // Deletes the key's subkeys deepest first, then the key itself.
  bool DeleteTree(const std::wstring& relativePath) {
    {
      RegHandle h = 0;
      if (reg.OpenKey(root, relativePath, access, &h) == regerr::kSuccess) {
        RegKey key(reg, h);
        std::vector<std::wstring> children;
        std::wstring child;
        for (std::uint32_t i = 0; reg.EnumSubKey(key.get(), i, &child) == regerr::kSuccess; ++i)
          children.push_back(child);
        for (const auto& c : children) DeleteTree(relativePath + L"\\" + c);
      }
    }
    std::wstring parentPath, name = relativePath;
    while (!name.empty() && name.back() == L'\\') name.pop_back();
    std::size_t slash = name.rfind(L'\\');
    if (slash != std::wstring::npos) {
      parentPath = name.substr(0, slash);
      name = name.substr(slash + 1);
    }
    RegHandle parent = 0;
    if (reg.OpenKey(root, parentPath, access, &parent) != regerr::kSuccess) return false;
    RegKey parentKey(reg, parent);
    return reg.DeleteSubKey(parentKey.get(), name, view) == regerr::kSuccess;
  }
};

std::vector<std::uint8_t> TextBytes(const std::wstring& text) {
  std::vector<std::uint8_t> out;
  // Stored as UTF-16 with its terminating zero, whatever wchar_t is on this platform.
  for (wchar_t wc : text) {
    std::uint32_t cp = static_cast<std::uint32_t>(wc);
    auto put = [&out](std::uint32_t unit) {
      out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
      out.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    if (cp >= 0x10000) {
      cp -= 0x10000;
      put(0xD800 + (cp >> 10));
      put(0xDC00 + (cp & 0x3FF));
    } else {
      put(cp);
    }
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

std::wstring BytesText(const std::vector<std::uint8_t>& data) {
  std::wstring out;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    std::uint32_t unit = data[i] | (data[i + 1] << 8);
    if (unit == 0) break;
    if (sizeof(wchar_t) == 4 && unit >= 0xD800 && unit <= 0xDBFF && i + 3 < data.size()) {
      std::uint32_t lo = data[i + 2] | (data[i + 3] << 8);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        out += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (lo - 0xDC00));
        i += 2;
        continue;
      }
    }
    out += static_cast<wchar_t>(unit);
  }
  return out;
}

bool WriteRaw(RegistryBackend& backend, RegRoot root, const std::wstring& keyPath,
                const std::wstring& name, RegType type, const std::vector<std::uint8_t>& data) {
  Connection c(backend, root);
  RegKey key = c.Create(keyPath);
  if (!key) return false;
  return c.reg.SetValue(key.get(), name, type, data) == regerr::kSuccess;
}

constexpr std::size_t kFlagsByte = 4;

constexpr struct {
  const wchar_t* name;
  RegRoot root;
} kRootNames[] = {
    {L"HKEY_CLASSES_ROOT", RegRoot::ClassesRoot},
    {L"HKEY_CURRENT_USER", RegRoot::CurrentUser},
    {L"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine},
    {L"HKEY_USERS", RegRoot::Users},
    {L"HKEY_CURRENT_CONFIG", RegRoot::CurrentConfig},
};

}  // namespace

bool Registry::KeyExists(RegRoot root, const std::wstring& keyPath) const {
  Connection c(*backend_, root);
  return c.KeyExists(keyPath);
}

std::optional<RegistryValue> Registry::ReadValue(RegRoot root, const std::wstring& keyPath,
                                                 const std::wstring& valueName) const {
  Connection c(*backend_, root);
  RegHandle h = 0;
  if (c.reg.OpenKey(root, Connection::Relative(keyPath), regaccess::kExistenceTest | c.view, &h) != regerr::kSuccess)
    return std::nullopt;
  RegKey key(c.reg, h);
  RegistryValue value;
  auto data = c.Read(key, valueName, &value.type);
  if (!data) return std::nullopt;
  value.data = std::move(*data);
  return value;
}

bool Registry::WriteValue(RegRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                          const RegistryValue& value) const {
  return WriteRaw(*backend_, root, keyPath, valueName, value.type, value.data);
}

namespace {
bool Enumerate(RegistryBackend& backend, RegRoot root, const std::wstring& keyPath, bool values,
               std::vector<std::wstring>* names) {
  Connection c(backend, root);
  RegHandle h = 0;
  if (c.reg.OpenKey(root, Connection::Relative(keyPath), regaccess::kExistenceTest | c.view, &h) != regerr::kSuccess)
    return false;
  RegKey key(c.reg, h);
  std::wstring name;
  for (std::uint32_t i = 0;; ++i) {
    const long rc = values ? c.reg.EnumValue(key.get(), i, &name) : c.reg.EnumSubKey(key.get(), i, &name);
    if (rc == regerr::kNoMoreItems) return true;
    if (rc != regerr::kSuccess) return false;
    names->push_back(name);
  }
}
}  // namespace

bool Registry::ListSubKeys(RegRoot root, const std::wstring& keyPath, std::vector<std::wstring>* names) const {
  return Enumerate(*backend_, root, keyPath, false, names);
}

bool Registry::ListValues(RegRoot root, const std::wstring& keyPath, std::vector<std::wstring>* names) const {
  return Enumerate(*backend_, root, keyPath, true, names);
}

std::vector<std::wstring> Registry::SubKeyNames(RegRoot root, const std::wstring& keyPath) const {
  std::vector<std::wstring> names;
  ListSubKeys(root, keyPath, &names);
  return names;
}

std::vector<std::wstring> Registry::ValueNames(RegRoot root, const std::wstring& keyPath) const {
  std::vector<std::wstring> names;
  ListValues(root, keyPath, &names);
  return names;
}

const wchar_t* RootName(RegRoot root) {
  for (const auto& r : kRootNames)
    if (r.root == root) return r.name;
  return L"";
}

bool ParseRootName(const std::wstring& name, RegRoot* root) {
  for (const auto& r : kRootNames) {
    if (name == r.name) {
      *root = r.root;
      return true;
    }
  }
  return false;
}

bool Registry::WriteInteger(RegRoot root, const std::wstring& keyPath,
                     const std::wstring& valueName, std::int32_t value) const {
  std::uint32_t v = static_cast<std::uint32_t>(value);
  std::vector<std::uint8_t> data = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                    static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  return WriteRaw(*backend_, root, keyPath, valueName, RegType::Dword, data);
}

std::int32_t Registry::ReadInteger(RegRoot root, const std::wstring& keyPath,
                            const std::wstring& valueName) const {
  Connection c(*backend_, root);
  RegKey key = c.Open(keyPath);
  if (!key) return RegNoValue;
  RegType type = RegType::None;
  auto data = c.Read(key, valueName, &type);
  if (!data || type != RegType::Dword || data->size() != 4) return RegNoValue;
  const auto& d = *data;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(d[0]) | (static_cast<std::uint32_t>(d[1]) << 8) |
                                   (static_cast<std::uint32_t>(d[2]) << 16) |
                                   (static_cast<std::uint32_t>(d[3]) << 24));
}

bool Registry::DeleteValue(RegRoot root, const std::wstring& keyPath,
                    const std::wstring& valueName) const {
  Connection c(*backend_, root);
  if (!c.KeyExists(keyPath)) return true;
  RegKey key = c.Open(keyPath);
  if (!key) return false;
  if (!c.ValueExists(key, valueName)) return true;
  return c.reg.DeleteValue(key.get(), valueName) == regerr::kSuccess;
}

int Registry::ValueState(RegRoot root, const std::wstring& keyPath,
                     const std::wstring& valueName) const {
  Connection c(*backend_, root);
  if (!c.KeyExists(keyPath)) return kKeyMissing;
  RegKey key = c.Open(keyPath);
  if (!key) return kKeyDenied;
  return c.ValueExists(key, valueName) ? kValuePresent : kValueMissing;
}

bool Registry::CreateKey(RegRoot root, const std::wstring& keyPath) const {
  Connection c(*backend_, root);
  if (c.KeyExists(keyPath)) return true;
  return static_cast<bool>(c.Create(keyPath));
}

bool Registry::DeleteKey(RegRoot root, const std::wstring& keyPath) const {
  Connection c(*backend_, root);
  if (!c.KeyExists(keyPath)) return true;
  std::wstring relative = Connection::Relative(keyPath);
  while (!relative.empty() && relative.back() == L'\\') relative.pop_back();
  if (relative.empty()) return false;  // never the root itself
  return c.DeleteTree(relative);
}

std::wstring Registry::ReadString(RegRoot root, const std::wstring& keyPath,
                           const std::wstring& valueName) const {
  Connection c(*backend_, root);
  RegKey key = c.Open(keyPath);
  if (!key) return std::wstring();
  RegType type = RegType::None;
  auto data = c.Read(key, valueName, &type);
  if (!data || (type != RegType::Sz && type != RegType::ExpandSz)) return std::wstring();
  return BytesText(*data);
}

bool Registry::WriteString(RegRoot root, const std::wstring& keyPath,
                    const std::wstring& valueName, const std::wstring& data) const {
  return WriteRaw(*backend_, root, keyPath, valueName, RegType::Sz, TextBytes(data));
}

bool Registry::WriteExpandString(RegRoot root, const std::wstring& keyPath,
                          const std::wstring& valueName, const std::wstring& data) const {
  return WriteRaw(*backend_, root, keyPath, valueName, RegType::ExpandSz, TextBytes(data));
}

namespace {
// Opens (creating) the key and reads the whole value; a value too short to hold byte 4 is a
// failure, so nothing past its end is ever touched.
bool ReadFlagsValue(Connection& c, const std::wstring& keyPath, const std::wstring& valueName,
                    RegKey* keyOut, std::vector<std::uint8_t>* data) {
  RegKey key = c.Create(keyPath);
  if (!key) return false;
  RegType type = RegType::None;
  auto value = c.Read(key, valueName, &type);
  if (!value || value->size() <= kFlagsByte) return false;
  *data = std::move(*value);
  *keyOut = std::move(key);
  return true;
}
}  // namespace

bool Registry::PatchBinaryFlags(RegRoot root, const std::wstring& keyPath,
                         const std::wstring& valueName) const {
  Connection c(*backend_, root);
  RegKey key;
  std::vector<std::uint8_t> data;
  if (!ReadFlagsValue(c, keyPath, valueName, &key, &data)) return false;
  data[kFlagsByte] = static_cast<std::uint8_t>((data[kFlagsByte] & 0xF0) | 0x03);
  return c.reg.SetValue(key.get(), valueName, RegType::Binary, data) == regerr::kSuccess;
}

void Registry::ReadBinaryFlags(RegRoot root, const std::wstring& keyPath,
                        const std::wstring& valueName, std::wstring& result) const {
  Connection c(*backend_, root);
  RegKey key;
  std::vector<std::uint8_t> data;
  if (!ReadFlagsValue(c, keyPath, valueName, &key, &data)) return;
  result = std::to_wstring(static_cast<unsigned>(data[kFlagsByte]));
}

RegistryLocation Registry::Locate(RegRoot root, const std::wstring& keyPath) const {
  return backend_->Locate(root, Connection::Relative(keyPath));
}

}  // namespace corrivo
