// hivexregedit, the hive tool of Debian's libwin-hivex-perl, as the tests' independent hand:
// it plants values into a hive and exports a hive after a repair, so that what the offline
// backend wrote is read by another program.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sysaccess/registry.h"
#include "tests/fakes/problems.h"
#include "tests/offline/hive_builder.h"

namespace corrivo::testing {

// Where a key of the plans lies in the tree: the hive file and the path inside it
// (CurrentControlSet is the set Select\Current names, HKCR the machine's classes).
struct HivePlace {
  std::string hive;
  std::wstring path;  // no leading backslash
};
HivePlace PlaceInTree(const OfflineTree& tree, const std::string& user, RegRoot root, const std::wstring& key);

// Merges the values into the tree's hives with hivexregedit --merge, from a .reg file the
// program's own writer wrote; false when it failed.
bool MergeIntoTree(const OfflineTree& tree, const std::string& user, const std::vector<PlantedValue>& values);

// A hive as hivexregedit --export prints it: key path (lower case, no leading backslash, ""
// for the root) to value name (lower case) to value; false when the export failed or holds a
// form the .reg reader does not know.
using HiveExport = std::map<std::wstring, std::map<std::wstring, RegistryValue>>;
bool ExportHive(const std::string& hive, HiveExport* out);

// `corrivo --offline <tree's Windows folder> args...`, with its exit code and streams.
struct OfflineRun {
  int code;
  std::wstring out, err;
};
OfflineRun RunOffline(const OfflineTree& tree, std::vector<std::wstring> args);

}  // namespace corrivo::testing
