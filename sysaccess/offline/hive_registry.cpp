#include "sysaccess/offline/hive_registry.h"

#include "sysaccess/text.h"

namespace corrivo {
namespace {

std::vector<std::wstring> Pieces(const std::wstring& subkey) {
  std::vector<std::wstring> pieces;
  for (std::wstring& piece : Split(subkey, L'\\'))
    if (!piece.empty()) pieces.push_back(std::move(piece));
  return pieces;
}

bool Is(const std::vector<std::wstring>& pieces, std::size_t i, const wchar_t* name) {
  return i < pieces.size() && EqualsNoCase(pieces[i], name);
}

void AddOnce(std::vector<std::wstring>& names, const std::wstring& name) {
  for (const auto& n : names)
    if (EqualsNoCase(n, name)) return;
  names.push_back(name);
}

}  // namespace

HiveRegistry::HiveRegistry(OfflineHives hives) : hives_(hives) {
  // Select\Current names the control set Windows starts with: 1 is ControlSet001.
  if (!hives_.system) return;
  const HiveNode select = hives_.system->Child(hives_.system->Root(), L"Select");
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;
  if (!select || !hives_.system->Value(select, L"Current", &type, &data) || type != RegType::Dword || data.size() != 4)
    return;
  const std::uint32_t n = data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t{data[3]} << 24);
  if (n == 0 || n > 999) return;
  const std::wstring digits = std::to_wstring(n);
  currentControlSet_ = L"ControlSet";
  currentControlSet_.append(3 - digits.size(), L'0').append(digits);
}

HiveRegistry::Place HiveRegistry::Walk(Place from, const std::vector<std::wstring>& pieces, std::size_t first,
                                       bool create, long* rc) {
  *rc = regerr::kSuccess;
  if (!from.hive) {
    *rc = create ? regerr::kAccessDenied : regerr::kFileNotFound;
    return {};
  }
  HiveNode node = from.node;
  for (std::size_t i = first; i < pieces.size(); ++i) {
    HiveNode child = from.hive->Child(node, pieces[i]);
    if (!child) {
      if (!create) {
        *rc = regerr::kFileNotFound;
        return {};
      }
      if ((*rc = from.hive->AddChild(node, pieces[i], &child)) != regerr::kSuccess) return {};
    }
    node = child;
  }
  return {from.hive, node};
}

std::vector<HiveRegistry::Place> HiveRegistry::Resolve(RegRoot root, const std::vector<std::wstring>& pieces,
                                                       bool create, long* rc) {
  auto top = [](HiveFile* hive) { return Place{hive, hive ? hive->Root() : 0}; };
  auto one = [](Place p) { return p.hive ? std::vector<Place>{p} : std::vector<Place>{}; };
  *rc = create ? regerr::kAccessDenied : regerr::kFileNotFound;
  switch (root) {
    case RegRoot::LocalMachine: {
      if (Is(pieces, 0, L"SOFTWARE")) return one(Walk(top(hives_.software), pieces, 1, create, rc));
      if (Is(pieces, 0, L"COMPONENTS")) return one(Walk(top(hives_.components), pieces, 1, create, rc));
      if (!Is(pieces, 0, L"SYSTEM")) return {};
      std::vector<std::wstring> mapped = pieces;
      if (Is(mapped, 1, L"CurrentControlSet")) {
        if (currentControlSet_.empty()) return {};
        mapped[1] = currentControlSet_;
      }
      return one(Walk(top(hives_.system), mapped, 1, create, rc));
    }
    case RegRoot::CurrentUser:
      if (Is(pieces, 0, L"Software") && Is(pieces, 1, L"Classes") && hives_.userClasses)
        return one(Walk(top(hives_.userClasses), pieces, 2, create, rc));
      return one(Walk(top(hives_.user), pieces, 0, create, rc));
    case RegRoot::ClassesRoot: {
      // Windows writes to the user's classes only where they already have the key.
      long userRc = regerr::kFileNotFound;
      const Place user = Walk(top(hives_.userClasses), pieces, 0, false, &userRc);
      std::vector<std::wstring> machinePath{L"Classes"};
      machinePath.insert(machinePath.end(), pieces.begin(), pieces.end());
      const Place machine = Walk(top(hives_.software), machinePath, 0, create && !user.hive, rc);
      std::vector<Place> places;
      if (user.hive) places.push_back(user);
      if (machine.hive) places.push_back(machine);
      if (!places.empty()) *rc = regerr::kSuccess;
      return places;
    }
    default: return {};
  }
}

long HiveRegistry::OpenOrCreate(RegRoot root, const std::wstring& subkey, bool create, RegHandle* out) {
  if (!subkey.empty() && subkey.front() == L'\\') return regerr::kBadPathName;
  const std::vector<std::wstring> pieces = Pieces(subkey);
  Key key;
  long rc = regerr::kSuccess;
  if (root == RegRoot::LocalMachine && pieces.empty()) {
    key.virtualChildren = {L"SOFTWARE", L"SYSTEM"};
    if (hives_.components) key.virtualChildren.insert(key.virtualChildren.begin(), L"COMPONENTS");
  } else {
    key.places = Resolve(root, pieces, create, &rc);
    if (key.places.empty()) return rc == regerr::kSuccess ? regerr::kFileNotFound : rc;
  }
  const RegHandle handle = next_++;
  open_.emplace(handle, std::move(key));
  *out = handle;
  return regerr::kSuccess;
}

long HiveRegistry::OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t, RegHandle* out) {
  return OpenOrCreate(root, subkey, false, out);
}

long HiveRegistry::CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t, RegHandle* out) {
  return OpenOrCreate(root, subkey, true, out);
}

long HiveRegistry::CloseKey(RegHandle key) { return open_.erase(key) ? regerr::kSuccess : regerr::kInvalidHandle; }

HiveRegistry::Key* HiveRegistry::Find(RegHandle key) {
  const auto it = open_.find(key);
  return it == open_.end() ? nullptr : &it->second;
}

long HiveRegistry::QueryValue(RegHandle handle, const std::wstring& name, RegType* type,
                              std::vector<std::uint8_t>* data) {
  Key* key = Find(handle);
  if (!key) return regerr::kInvalidHandle;
  for (const Place& p : key->places)
    if (p.hive->Value(p.node, name, type, data)) return regerr::kSuccess;
  return regerr::kFileNotFound;
}

long HiveRegistry::SetValue(RegHandle handle, const std::wstring& name, RegType type,
                            const std::vector<std::uint8_t>& data) {
  Key* key = Find(handle);
  if (!key) return regerr::kInvalidHandle;
  if (key->places.empty()) return regerr::kAccessDenied;
  return key->places.front().hive->SetValue(key->places.front().node, name, type, data);
}

long HiveRegistry::DeleteValue(RegHandle handle, const std::wstring& name) {
  Key* key = Find(handle);
  if (!key) return regerr::kInvalidHandle;
  // A merged key loses the value wherever it is, or it would still show through.
  long rc = regerr::kFileNotFound;
  for (const Place& p : key->places) {
    const long one = p.hive->DeleteValue(p.node, name);
    if (one != regerr::kFileNotFound) rc = one;
    if (one != regerr::kSuccess && one != regerr::kFileNotFound) return one;
  }
  return rc;
}

void HiveRegistry::List(Key& key) {
  key.subKeys = key.virtualChildren;
  key.values.clear();
  for (const Place& p : key.places) {
    for (const auto& n : p.hive->ChildNames(p.node)) AddOnce(key.subKeys, n);
    for (const auto& n : p.hive->ValueNames(p.node)) AddOnce(key.values, n);
  }
  key.listed = true;
}

long HiveRegistry::EnumSubKey(RegHandle handle, std::uint32_t index, std::wstring* name) {
  Key* key = Find(handle);
  if (!key) return regerr::kInvalidHandle;
  if (index == 0 || !key->listed) List(*key);
  if (index >= key->subKeys.size()) return regerr::kNoMoreItems;
  *name = key->subKeys[index];
  return regerr::kSuccess;
}

long HiveRegistry::EnumValue(RegHandle handle, std::uint32_t index, std::wstring* name) {
  Key* key = Find(handle);
  if (!key) return regerr::kInvalidHandle;
  if (index == 0 || !key->listed) List(*key);
  if (index >= key->values.size()) return regerr::kNoMoreItems;
  *name = key->values[index];
  return regerr::kSuccess;
}

long HiveRegistry::DeleteSubKey(RegHandle parent, const std::wstring& name, std::uint32_t) {
  Key* key = Find(parent);
  if (!key) return regerr::kInvalidHandle;
  if (key->places.empty()) return regerr::kAccessDenied;  // a hive itself is never deleted
  long rc = regerr::kFileNotFound;
  for (const Place& p : key->places) {
    const HiveNode child = p.hive->Child(p.node, name);
    if (!child) continue;
    if (p.hive->ChildCount(child) > 0) return regerr::kAccessDenied;  // as RegDeleteKey answers
    if ((rc = p.hive->DeleteChild(child)) != regerr::kSuccess) return rc;
  }
  key->listed = false;
  return rc;
}

}  // namespace corrivo
