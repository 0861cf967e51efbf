#include "tests/offline/hive_tools.h"

#include <cstdio>

#include "catalog/reg_file.h"
#include "console/offline/offline_command.h"
#include "sysaccess/text.h"

namespace corrivo::testing {
namespace {

std::string Shell(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

bool ExportHive(const std::string& hive, HiveExport* out) {
  out->clear();
  std::FILE* pipe = ::popen(("hivexregedit --export --prefix HKEY_USERS " + Shell(hive) + " '\\' 2>&1").c_str(), "r");
  if (!pipe) return false;
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  if (::pclose(pipe) != 0) return false;
  // Read by the program's own reader, tested against its writer: it refuses any form it does
  // not know, better a failure than a wrong reading.
  const RegFileParse parsed = ParseRegFile(Utf8ToWide(text));
  if (!parsed.ok) return false;
  for (const RegFileChange& change : parsed.changes) {
    auto& values = (*out)[ToLower(change.key)];
    if (change.kind == RegFileChange::Kind::SetValue) values[ToLower(change.name)] = change.value;
  }
  return true;
}

OfflineRun RunOffline(const OfflineTree& tree, std::vector<std::wstring> args) {
  args.insert(args.begin(), {L"--offline", Utf8ToWide(tree.windows)});
  console::StringSink out, err;
  console::OfflineContext context{out, err, Utf8ToWide(tree.root) + L"/journal"};
  const int code = console::RunOfflineCommandLine(args, context);
  return {code, out.Text(), err.Text()};
}

}  // namespace corrivo::testing
