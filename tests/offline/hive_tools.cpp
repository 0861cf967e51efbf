#include "tests/offline/hive_tools.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

#include "catalog/reg_file.h"
#include "console/offline/offline_command.h"
#include "sysaccess/text.h"

namespace corrivo::testing {
namespace {

bool StartsWith(const std::wstring& key, const std::wstring& head) {
  return key.size() >= head.size() && EqualsNoCase(key.substr(0, head.size()), head) &&
         (key.size() == head.size() || key[head.size()] == L'\\');
}

std::wstring After(const std::wstring& key, const std::wstring& head) {
  return key.size() > head.size() ? key.substr(head.size() + 1) : std::wstring();
}

std::string Shell(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

HivePlace PlaceInTree(const OfflineTree& tree, const std::string& user, RegRoot root, const std::wstring& rawKey) {
  std::wstring key = rawKey;
  while (!key.empty() && key.front() == L'\\') key.erase(key.begin());
  while (!key.empty() && key.back() == L'\\') key.pop_back();
  switch (root) {
    case RegRoot::CurrentUser:
      if (StartsWith(key, L"Software\\Classes")) return {tree.UserClasses(user), After(key, L"Software\\Classes")};
      return {tree.UserHive(user), key};
    case RegRoot::ClassesRoot: return {tree.Hive("SOFTWARE"), key.empty() ? L"Classes" : L"Classes\\" + key};
    case RegRoot::LocalMachine:
      if (StartsWith(key, L"SOFTWARE")) return {tree.Hive("SOFTWARE"), After(key, L"SOFTWARE")};
      if (StartsWith(key, L"SYSTEM\\CurrentControlSet"))
        return {tree.Hive("SYSTEM"), L"ControlSet002" + key.substr(24)};
      if (StartsWith(key, L"SYSTEM")) return {tree.Hive("SYSTEM"), After(key, L"SYSTEM")};
      if (StartsWith(key, L"COMPONENTS")) return {tree.Hive("COMPONENTS"), After(key, L"COMPONENTS")};
      break;
    default: break;
  }
  return {};
}

bool MergeIntoTree(const OfflineTree& tree, const std::string& user, const std::vector<PlantedValue>& values) {
  std::map<std::string, RegFileWriter> files;  // hive to its .reg file
  for (const PlantedValue& v : values) {
    const HivePlace place = PlaceInTree(tree, user, v.root, v.key);
    if (place.hive.empty()) {
      std::fprintf(stderr, "no hive of the tree holds %s\\%s\n", WideToUtf8(RootName(v.root)).c_str(),
                   WideToUtf8(v.key).c_str());
      return false;
    }
    // hivexregedit creates a key only below one that is there: name each level first.
    RegFileWriter& file = files[place.hive];
    const std::wstring& path = place.path;
    for (std::size_t slash = path.find(L'\\'); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
      file.CreateKey(RegRoot::Users, path.substr(0, slash));
    file.AddValue(RegRoot::Users, path, v.name, v.value);
  }
  for (const auto& [hive, file] : files) {
    const std::string reg = hive + ".plant.reg", text = WideToUtf8(file.Text());
    WriteFile(reg, text);
    const int rc = std::system(("hivexregedit --merge --prefix HKEY_USERS " + Shell(hive) + " " + Shell(reg)).c_str());
    std::remove(reg.c_str());
    if (rc != 0) {
      std::fprintf(stderr, "hivexregedit --merge %s failed on:\n%s\n", hive.c_str(), text.c_str());
      return false;
    }
  }
  return true;
}

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
