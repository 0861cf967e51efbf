#include "sysaccess/memory/memory_registry.h"

#include <algorithm>

#include "sysaccess/text.h"

namespace corrivo {

struct MemoryRegistry::Node {
  std::wstring name;  // as first written
  std::map<std::wstring, std::unique_ptr<Node>> children;  // by lower-case name
  struct Stored {
    std::wstring name;
    Value value;
  };
  std::map<std::wstring, Stored> values;  // by lower-case name
};

namespace {
constexpr RegRoot kAllRoots[] = {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine,
                                 RegRoot::Users, RegRoot::CurrentConfig};
constexpr long kKeyDeleted = 1018;

const wchar_t* RootName(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return L"HKEY_CLASSES_ROOT";
    case RegRoot::CurrentUser: return L"HKEY_CURRENT_USER";
    case RegRoot::LocalMachine: return L"HKEY_LOCAL_MACHINE";
    case RegRoot::Users: return L"HKEY_USERS";
    case RegRoot::CurrentConfig: return L"HKEY_CURRENT_CONFIG";
  }
  return L"?";
}

bool IsPrefix(const std::vector<std::wstring>& prefix, const std::vector<std::wstring>& path) {
  return prefix.size() <= path.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

// Splits a test-control path, with or without its leading backslash.
std::vector<std::wstring> PlainComponents(const std::wstring& path, std::vector<std::wstring>* original = nullptr) {
  std::vector<std::wstring> out;
  for (auto& piece : Split(path, L'\\')) {
    if (piece.empty()) continue;
    if (original) original->push_back(piece);
    out.push_back(ToLower(piece));
  }
  return out;
}
}  // namespace

MemoryRegistry::MemoryRegistry() {
  for (RegRoot r : kAllRoots) {
    roots_[r] = std::make_unique<Node>();
    roots_[r]->name = RootName(r);
  }
}

MemoryRegistry::~MemoryRegistry() = default;

bool MemoryRegistry::IsWow64() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return wow64_;
}

long MemoryRegistry::Resolve(RegRoot root, const std::wstring& subkey, std::uint32_t access,
                             std::vector<std::wstring>* components,
                             std::vector<std::wstring>* original) const {
  if (!roots_.count(root)) return regerr::kInvalidHandle;
  if (!subkey.empty() && subkey.front() == L'\\') return regerr::kBadPathName;
  auto pieces = Split(subkey, L'\\');
  if (!pieces.empty() && pieces.back().empty()) pieces.pop_back();  // trailing backslash
  if (subkey.empty()) pieces.clear();
  for (auto& p : pieces) {
    if (p.empty()) return regerr::kBadPathName;
    original->push_back(p);
    components->push_back(ToLower(p));
  }
  // A 32-bit process on 64-bit Windows that does not ask for the native view sees
  // HKLM\Software through Wow6432Node.
  if (wow64_ && !(access & regaccess::kWow64_64Key) && root == RegRoot::LocalMachine &&
      !components->empty() && (*components)[0] == L"software" &&
      (components->size() < 2 || (*components)[1] != L"wow6432node")) {
    components->insert(components->begin() + 1, L"wow6432node");
    original->insert(original->begin() + 1, L"Wow6432Node");
  }
  return regerr::kSuccess;
}

MemoryRegistry::Node* MemoryRegistry::Find(RegRoot root, const std::vector<std::wstring>& path) const {
  auto it = roots_.find(root);
  if (it == roots_.end()) return nullptr;
  Node* node = it->second.get();
  for (const auto& c : path) {
    auto child = node->children.find(c);
    if (child == node->children.end()) return nullptr;
    node = child->second.get();
  }
  return node;
}

MemoryRegistry::Node* MemoryRegistry::FindHandle(RegHandle key) const {
  auto it = handles_.find(key);
  if (it == handles_.end()) return nullptr;
  return Find(it->second.root, it->second.path);
}

long MemoryRegistry::CheckAccess(RegRoot root, const std::vector<std::wstring>& path,
                                 std::uint32_t access) const {
  std::uint32_t wanted = access & ~regaccess::kWow64_64Key;
  bool beyondRead = (wanted & ~regaccess::kExistenceTest) != 0;
  for (const auto& d : denials_) {
    if (d.root != root || !IsPrefix(d.path, path)) continue;
    if (d.all || beyondRead) return regerr::kAccessDenied;
  }
  return regerr::kSuccess;
}

bool MemoryRegistry::Failing(Op op, long* error) const {
  auto it = failures_.find(op);
  if (it == failures_.end() || it->second == regerr::kSuccess) return false;
  *error = it->second;
  return true;
}

RegHandle MemoryRegistry::NewHandle(RegRoot root, std::vector<std::wstring> path) {
  RegHandle h = nextHandle_;
  nextHandle_ += 4;
  handles_[h] = Handle{root, std::move(path)};
  return h;
}

long MemoryRegistry::OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  long err;
  if (Failing(Op::OpenKey, &err)) return err;
  std::vector<std::wstring> path, original;
  if ((err = Resolve(root, subkey, access, &path, &original)) != regerr::kSuccess) return err;
  if (!Find(root, path)) return regerr::kFileNotFound;
  if ((err = CheckAccess(root, path, access)) != regerr::kSuccess) return err;
  *out = NewHandle(root, std::move(path));
  return regerr::kSuccess;
}

long MemoryRegistry::CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  long err;
  if (Failing(Op::CreateKey, &err)) return err;
  std::vector<std::wstring> path, original;
  if ((err = Resolve(root, subkey, access, &path, &original)) != regerr::kSuccess) return err;
  // Creating below a denied key is refused before anything is made.
  if ((err = CheckAccess(root, path, access)) != regerr::kSuccess) return err;
  Node* node = roots_[root].get();
  for (std::size_t i = 0; i < path.size(); ++i) {
    auto& slot = node->children[path[i]];
    if (!slot) {
      slot = std::make_unique<Node>();
      slot->name = original[i];
    }
    node = slot.get();
  }
  *out = NewHandle(root, std::move(path));
  return regerr::kSuccess;
}

long MemoryRegistry::CloseKey(RegHandle key) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return handles_.erase(key) ? regerr::kSuccess : regerr::kInvalidHandle;
}

long MemoryRegistry::QueryValue(RegHandle key, const std::wstring& name, RegType* type,
                                std::vector<std::uint8_t>* data) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  long err;
  if (!handles_.count(key)) return regerr::kInvalidHandle;
  if (Failing(Op::QueryValue, &err)) return err;
  Node* node = FindHandle(key);
  if (!node) return kKeyDeleted;
  auto it = node->values.find(ToLower(name));
  if (it == node->values.end()) return regerr::kFileNotFound;
  if (type) *type = it->second.value.type;
  if (data) *data = it->second.value.data;
  return regerr::kSuccess;
}

long MemoryRegistry::SetValue(RegHandle key, const std::wstring& name, RegType type,
                              const std::vector<std::uint8_t>& data) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  long err;
  if (!handles_.count(key)) return regerr::kInvalidHandle;
  if (Failing(Op::SetValue, &err)) return err;
  Node* node = FindHandle(key);
  if (!node) return kKeyDeleted;
  auto& stored = node->values[ToLower(name)];
  if (stored.name.empty()) stored.name = name;
  stored.value = Value{type, data};
  return regerr::kSuccess;
}

long MemoryRegistry::DeleteValue(RegHandle key, const std::wstring& name) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  long err;
  if (!handles_.count(key)) return regerr::kInvalidHandle;
  if (Failing(Op::DeleteValue, &err)) return err;
  Node* node = FindHandle(key);
  if (!node) return kKeyDeleted;
  return node->values.erase(ToLower(name)) ? regerr::kSuccess : regerr::kFileNotFound;
}

long MemoryRegistry::EnumSubKey(RegHandle key, std::uint32_t index, std::wstring* name) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  long err;
  if (!handles_.count(key)) return regerr::kInvalidHandle;
  if (Failing(Op::EnumSubKey, &err)) return err;
  Node* node = FindHandle(key);
  if (!node) return kKeyDeleted;
  if (index >= node->children.size()) return regerr::kNoMoreItems;
  auto it = node->children.begin();
  std::advance(it, index);
  *name = it->second->name;
  return regerr::kSuccess;
}

long MemoryRegistry::EnumValue(RegHandle key, std::uint32_t index, std::wstring* name) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  long err;
  if (!handles_.count(key)) return regerr::kInvalidHandle;
  if (Failing(Op::EnumValue, &err)) return err;
  Node* node = FindHandle(key);
  if (!node) return kKeyDeleted;
  if (index >= node->values.size()) return regerr::kNoMoreItems;
  auto it = node->values.begin();
  std::advance(it, index);
  *name = it->second.name;
  return regerr::kSuccess;
}

long MemoryRegistry::DeleteSubKey(RegHandle parent, const std::wstring& name, std::uint32_t viewAccess) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  long err;
  if (!handles_.count(parent)) return regerr::kInvalidHandle;
  if (Failing(Op::DeleteSubKey, &err)) return err;
  Node* node = FindHandle(parent);
  if (!node) return kKeyDeleted;
  if (name.empty() || name.find(L'\\') != std::wstring::npos) return regerr::kInvalidParameter;
  auto it = node->children.find(ToLower(name));
  if (it == node->children.end()) return regerr::kFileNotFound;
  if (!it->second->children.empty()) return regerr::kAccessDenied;  // as advapi32 answers
  std::vector<std::wstring> path = handles_[parent].path;
  path.push_back(ToLower(name));
  if ((err = CheckAccess(handles_[parent].root, path, regaccess::kAllAccess)) != regerr::kSuccess) return err;
  node->children.erase(it);
  return regerr::kSuccess;
}

void MemoryRegistry::SetWow64(bool wow64) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  wow64_ = wow64;
}

void MemoryRegistry::DenyFullAccess(RegRoot root, const std::wstring& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  denials_.push_back({root, PlainComponents(path), false});
}

void MemoryRegistry::DenyAllAccess(RegRoot root, const std::wstring& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  denials_.push_back({root, PlainComponents(path), true});
}

void MemoryRegistry::FailOperation(Op op, long error) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  failures_[op] = error;
}

MemoryRegistry::Node* MemoryRegistry::MakePath(RegRoot root, const std::wstring& path) {
  std::vector<std::wstring> original;
  auto components = PlainComponents(path, &original);
  Node* node = roots_[root].get();
  for (std::size_t i = 0; i < components.size(); ++i) {
    auto& slot = node->children[components[i]];
    if (!slot) {
      slot = std::make_unique<Node>();
      slot->name = original[i];
    }
    node = slot.get();
  }
  return node;
}

void MemoryRegistry::Put(RegRoot root, const std::wstring& path, const std::wstring& name, RegType type,
                         std::vector<std::uint8_t> data) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto& stored = MakePath(root, path)->values[ToLower(name)];
  if (stored.name.empty()) stored.name = name;
  stored.value = Value{type, std::move(data)};
}

void MemoryRegistry::PutDword(RegRoot root, const std::wstring& path, const std::wstring& name, std::uint32_t v) {
  Put(root, path, name, RegType::Dword,
      {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
       static_cast<std::uint8_t>(v >> 24)});
}

void MemoryRegistry::PutString(RegRoot root, const std::wstring& path, const std::wstring& name,
                               const std::wstring& text, RegType type) {
  auto bytes = WideToUtf16Le(text, true);
  Put(root, path, name, type, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void MemoryRegistry::PutKey(RegRoot root, const std::wstring& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  MakePath(root, path);
}

std::optional<MemoryRegistry::Value> MemoryRegistry::Get(RegRoot root, const std::wstring& path,
                                                         const std::wstring& name) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Node* node = Find(root, PlainComponents(path));
  if (!node) return std::nullopt;
  auto it = node->values.find(ToLower(name));
  if (it == node->values.end()) return std::nullopt;
  return it->second.value;
}

std::optional<std::uint32_t> MemoryRegistry::GetDword(RegRoot root, const std::wstring& path,
                                                      const std::wstring& name) const {
  auto v = Get(root, path, name);
  if (!v || v->type != RegType::Dword || v->data.size() != 4) return std::nullopt;
  return static_cast<std::uint32_t>(v->data[0]) | (static_cast<std::uint32_t>(v->data[1]) << 8) |
         (static_cast<std::uint32_t>(v->data[2]) << 16) | (static_cast<std::uint32_t>(v->data[3]) << 24);
}

std::optional<std::wstring> MemoryRegistry::GetString(RegRoot root, const std::wstring& path,
                                                      const std::wstring& name, RegType* type) const {
  auto v = Get(root, path, name);
  if (!v || (v->type != RegType::Sz && v->type != RegType::ExpandSz)) return std::nullopt;
  if (type) *type = v->type;
  std::wstring text = Utf16LeToWide(v->data.data(), v->data.size());
  auto zero = text.find(L'\0');
  if (zero != std::wstring::npos) text.resize(zero);
  return text;
}

bool MemoryRegistry::HasKey(RegRoot root, const std::wstring& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return Find(root, PlainComponents(path)) != nullptr;
}

std::vector<std::wstring> MemoryRegistry::SubKeys(RegRoot root, const std::wstring& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::vector<std::wstring> out;
  if (Node* node = Find(root, PlainComponents(path)))
    for (const auto& [k, child] : node->children) out.push_back(child->name);
  return out;
}

std::vector<std::wstring> MemoryRegistry::ValueNames(RegRoot root, const std::wstring& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::vector<std::wstring> out;
  if (Node* node = Find(root, PlainComponents(path)))
    for (const auto& [k, stored] : node->values) out.push_back(stored.name);
  return out;
}

std::size_t MemoryRegistry::OpenHandleCount() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return handles_.size();
}

namespace {
std::wstring DescribeValue(const MemoryRegistry::Value& v) {
  static const wchar_t* kHex = L"0123456789abcdef";
  switch (v.type) {
    case RegType::Dword:
      if (v.data.size() == 4) {
        std::uint32_t d = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (static_cast<std::uint32_t>(v.data[3]) << 24);
        return L"dword:" + std::to_wstring(d);
      }
      break;
    case RegType::Sz:
    case RegType::ExpandSz: {
      std::wstring t = Utf16LeToWide(v.data.data(), v.data.size());
      auto zero = t.find(L'\0');
      if (zero != std::wstring::npos) t.resize(zero);
      return (v.type == RegType::Sz ? L"sz:\"" : L"expand_sz:\"") + t + L"\"";
    }
    default:
      break;
  }
  std::wstring out = L"type" + std::to_wstring(static_cast<unsigned>(v.type)) + L":";
  for (auto b : v.data) {
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

}  // namespace

std::wstring MemoryRegistry::Dump() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::wstring out;
  struct Walker {
    static void Walk(const std::wstring& prefix, const Node& node, std::wstring& out) {
      for (const auto& [k, stored] : node.values)
        out += prefix + L" [" + stored.name + L"] = " + DescribeValue(stored.value) + L"\n";
      if (node.values.empty() && node.children.empty()) out += prefix + L"\n";
      for (const auto& [k, child] : node.children) Walk(prefix + L"\\" + child->name, *child, out);
    }
  };
  for (const auto& [root, node] : roots_) {
    for (const auto& [k, child] : node->children) Walker::Walk(std::wstring(RootName(root)) + L"\\" + child->name, *child, out);
  }
  return out;
}

}  // namespace corrivo
