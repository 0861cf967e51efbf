// hivexregedit, the hive tool of Debian's libwin-hivex-perl, as the tests' independent eye: it
// exports a hive after a repair, so that what the offline backend wrote is read by another program.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sysaccess/registry.h"
#include "tests/offline/hive_builder.h"

namespace corrivo::testing {

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
