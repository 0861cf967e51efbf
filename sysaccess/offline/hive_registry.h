// The registry of a Windows that is not running, over its hive files (Linux builds only):
// HKLM\SOFTWARE and HKLM\SYSTEM (CurrentControlSet being the control set that Select\Current
// names), HKCU from one profile's NTUSER.DAT with its Software\Classes in UsrClass.dat, and
// HKCR as Windows merges it: the user's classes where they have the key, the machine's
// otherwise. HKLM\COMPONENTS is there when its hive is. Other roots are absent.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sysaccess/offline/hive_file.h"
#include "sysaccess/registry_backend.h"

namespace corrivo {

struct OfflineHives {
  HiveFile* software = nullptr;
  HiveFile* system = nullptr;
  HiveFile* user = nullptr;         // NTUSER.DAT; HKCU is absent without it
  HiveFile* userClasses = nullptr;  // UsrClass.dat; may be absent
  HiveFile* components = nullptr;   // COMPONENTS (Vista and later keep the component store there)
};

class HiveRegistry : public RegistryBackend {
 public:
  explicit HiveRegistry(OfflineHives hives);

  // "ControlSet001" for Select\Current = 1; empty when SYSTEM has no usable Select key.
  const std::wstring& CurrentControlSet() const { return currentControlSet_; }

  bool IsWow64() override { return false; }
  long OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override;
  long CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override;
  long CloseKey(RegHandle key) override;
  long QueryValue(RegHandle key, const std::wstring& name, RegType* type, std::vector<std::uint8_t>* data) override;
  long SetValue(RegHandle key, const std::wstring& name, RegType type, const std::vector<std::uint8_t>& data) override;
  long DeleteValue(RegHandle key, const std::wstring& name) override;
  long EnumSubKey(RegHandle key, std::uint32_t index, std::wstring* name) override;
  long EnumValue(RegHandle key, std::uint32_t index, std::wstring* name) override;
  long DeleteSubKey(RegHandle parent, const std::wstring& name, std::uint32_t viewAccess) override;

 private:
  // Where a key lives: a node of one hive.
  struct Place {
    HiveFile* hive;
    HiveNode node;
  };
  // An open key: the places it merges, the first being where writes go (HKCR may have two).
  // HKEY_LOCAL_MACHINE itself has no node: its subkeys are the hives it holds.
  struct Key {
    std::vector<Place> places;
    std::vector<std::wstring> virtualChildren;
    std::vector<std::wstring> subKeys, values;  // filled at the first enumeration
    bool listed = false;
  };

  // The places of a key that exists, following each spelling of the path. Empty when absent.
  std::vector<Place> Resolve(RegRoot root, const std::vector<std::wstring>& pieces, bool create, long* rc);
  Place Walk(Place from, const std::vector<std::wstring>& pieces, std::size_t first, bool create, long* rc);
  long OpenOrCreate(RegRoot root, const std::wstring& subkey, bool create, RegHandle* out);
  Key* Find(RegHandle key);
  void List(Key& key);

  OfflineHives hives_;
  std::wstring currentControlSet_;
  std::map<RegHandle, Key> open_;
  RegHandle next_ = 0x1000;
};

}  // namespace corrivo
