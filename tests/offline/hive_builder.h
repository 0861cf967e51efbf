// Hive files for the offline tests: an empty hive written from the published layout of the
// format (base block, one bin, a root key and its security cell), then filled through hivex,
// and a mounted-Windows folder tree built from such hives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sysaccess/registry_backend.h"
#include "sysaccess/windows_version.h"

namespace corrivo::testing {

// The bytes of a valid hive holding only its root key.
std::string EmptyHiveBytes();
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// A mounted Windows: <root>/Windows/System32/config/{SOFTWARE,SYSTEM} (and COMPONENTS after XP)
// with a Select key and two control sets (Select\Current = 2), each user in ProfileList with an
// NTUSER.DAT and a UsrClass.dat, and a hosts file.
struct OfflineTree {
  OfflineTree(const std::string& root, WindowsVersion version, const std::vector<std::string>& users = {"alice"});
  std::string root, windows, config;
  std::string Hive(const std::string& name) const { return config + "/" + name; }
  std::string UserHive(const std::string& user) const;
  std::string UserClasses(const std::string& user) const;
  // Every hive file of the tree.
  std::vector<std::string> Hives() const;
  std::vector<std::string> users;
  WindowsVersion version;
};

}  // namespace corrivo::testing
