// What a repair would change on this machine, read before anything is done: each registry
// value as it is now and as it will be, keys it deletes or creates, the commands it starts and
// where, the hosts-file lines it drops and adds, and a note for each step that cannot be told
// in advance. Reading only: the preview never writes to the registry or a file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalog/repair.h"
#include "sysaccess/registry.h"
#include "sysaccess/system.h"

namespace corrivo {

struct ValuePreview {
  RegRoot root = RegRoot::CurrentUser;
  // The key as the plan names it, or where the registry really sends it when that is another
  // root (HKCU to the desktop user's hive); name empty for the default value.
  std::wstring key, name;
  std::optional<RegistryValue> now, after;  // nullopt: no such value
  // The step runs only when the one before it fails (205's own home page).
  bool conditional = false;
};

struct KeyPreview {
  RegRoot root = RegRoot::CurrentUser;
  std::wstring key;
  bool existsNow = false;
  bool deletes = false;  // else creates
};

struct CommandPreview {
  std::wstring parameters;  // cmd.exe's whole parameter string
  std::wstring folder;      // the system folder it starts in
};

struct HostsPreview {
  // False when the file is there but cannot be read: the repair then leaves it alone.
  bool readable = true;
  std::vector<std::wstring> removed, added;
};

struct RepairPreview {
  int id = 0;
  std::vector<ValuePreview> values;
  std::vector<KeyPreview> keys;
  std::vector<CommandPreview> commands;
  std::vector<std::wstring> notes;
  std::optional<HostsPreview> hosts;
};

// Reads the system, writes nothing; every registry step in order, later steps seeing what
// earlier ones would have done. An unknown ID gives an empty preview with its id set.
RepairPreview PreviewRepair(System& system, int id, const RepairArgs& args);
// The same for any plan (id 0).
RepairPreview PreviewPlan(System& system, const Plan& plan);

// The plan with each step's root and key where `registry` really acts on them (unchanged
// unless it sends a root elsewhere, as ValuePreview names them).
Plan LocatePlan(const Registry& registry, Plan plan);

// "absent", "deleted", "REG_DWORD 1", "REG_SZ \"1\"", "REG_EXPAND_SZ \"...\"",
// "REG_BINARY 01 02 ..."; `deleted` words a missing value as a deletion.
std::wstring DescribeValue(const std::optional<RegistryValue>& value, bool deleted = false);

// The text a person reads: one line per change, e.g.
//   HKEY_CURRENT_USER\Software\...\Key [Name]: REG_DWORD 1 → deleted
// then keys, commands with their folder, hosts lines ("- ..." / "+ ...") and notes.
std::wstring FormatPreview(const RepairPreview& preview);

}  // namespace corrivo
