// A Windows that is not running, seen from Linux through its mounted Windows folder (the one
// holding System32): its registry from the hive files, its hosts file on the mount, and
// stand-ins that record, instead of doing, what only the running system can do (commands,
// Explorer, shortcuts, the home-page library, the Internet Options reset).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sysaccess/offline/hive_registry.h"
#include "sysaccess/system.h"

namespace corrivo {

struct OfflineOptions {
  std::string windowsFolder;  // the mounted folder holding System32
  std::wstring user;          // the profile's folder name; empty: the only profile there is
  bool writable = false;      // fix and undo; everything else opens the hives for reading
};

enum class OfflineOpenResult {
  Opened,
  NotWindows,    // no System32\config with SOFTWARE and SYSTEM under the folder
  BadHive,       // a hive hivex cannot read, one with pending logs, cut short, or not writable
  ChooseUser,    // several profiles and no --user, or an unknown --user
};

class OfflineWindows {
 public:
  ~OfflineWindows();
  // `error` receives one sentence (with the list of profiles for ChooseUser).
  static OfflineOpenResult Open(const OfflineOptions& options, std::unique_ptr<OfflineWindows>* opened,
                                std::wstring* error);

  System& system();
  HiveRegistry& registry();
  // The profile whose NTUSER.DAT is HKEY_CURRENT_USER.
  const std::wstring& profile() const;
  // What was asked of the running system since the last call ("cmd.exe ...", "kill ...").
  std::vector<std::wstring> TakeSkipped();
  // The hive files that have changed in memory.
  std::vector<std::string> ChangedHives() const;
  struct Written {
    std::wstring hive, copy;  // the hive replaced, and the copy of its original beside it
  };
  // Writes every changed hive (see HiveFile::Save). Stops at the first failure.
  bool Save(std::vector<Written>* written, std::wstring* error);

  struct Parts;

 private:
  explicit OfflineWindows(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

// The profiles of SOFTWARE's ProfileList that are people's (S-1-5-21-...): each folder name
// and the Windows path of the folder, in the hive's order.
struct OfflineProfile {
  std::wstring name;
  std::wstring path;
};
std::vector<OfflineProfile> ListProfiles(RegistryBackend& software);

}  // namespace corrivo
