// The .reg and .cmd exports against their real consumers under Wine. scripts/check-exports
// runs this probe once per mode, each in a fresh prefix, and compares what it prints:
//
//   export_wine_probe repair V...   plants a problem for every step, runs the repairs
//   export_wine_probe reg V...      plants the same, imports the .reg export with regedit /s
//   export_wine_probe cmd V...      plants the same, runs the .cmd export with cmd.exe: for the
//                                   first version only its registry steps, for the others
//                                   everything, this probe beside it as the console twin
//
// Besides catalogue repairs, each mode applies the edge plans of export_edge_plans.h that its
// format carries. Each prints every value and key the plans touch, one line each, prefixed with
// the repair's ID and the Windows version. The cmd mode also runs a batch file without the twin beside it and checks that each step
// it cannot do is reported and counted, and exits 1 when anything there is wrong.
//
// Run as "Corrivo.com fix ID" it is the console twin: the repair for CORRIVO_EXPORT_WINDOWS.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/executor.h"
#include "catalog/export.h"
#include "catalog/preview.h"
#include "catalog/reg_file.h"
#include "sysaccess/text.h"
#include "sysaccess/win32/win32_api.h"
#include "tests/catalog/export_edge_plans.h"
#include "tests/fakes/problems.h"

using namespace corrivo;
namespace tst = corrivo::testing;
using tst::kEdgeKey;

namespace {

constexpr const wchar_t* kWork = L"C:\\corrivo-export";
constexpr const wchar_t* kAlone = L"C:\\corrivo-alone";

// Repairs with a step only the program can do whose registry outcome the twin reproduces, and
// repairs whose commands change the registry (616 re-creates the installer service with
// "%SystemRoot%" in a quoted argument, so the batch file's escaping shows in the service key).
const int kTwinRepairs[] = {205, 607};
const int kCommandRepairs[] = {616};

struct Watched {
  RegRoot root;
  std::wstring key, name;
  bool keyOnly = false;
};

std::vector<Watched> WatchedBy(int id, const Plan& plan) {
  std::vector<Watched> out;
  for (const Step& s : plan) {
    if (s.kind == StepKind::DeleteKey || s.kind == StepKind::CreateKey) {
      out.push_back({s.root, s.key, L"", true});
    } else if (ChangesRegistry(s) || s.special == SpecialStep::PatchStickyNotesFlags) {
      out.push_back({s.root, s.key, s.name, false});
    }
  }
  if (id == 616) {
    for (const wchar_t* name : {L"ImagePath", L"DisplayName", L"Start"})
      out.push_back({RegRoot::LocalMachine, L"System\\CurrentControlSet\\Services\\msiserver", name, false});
  }
  if (id == tst::EdgeCommandPlan().id) {
    for (const wchar_t* name : {L"fromcmd", L"first", L"second"}) out.push_back({RegRoot::CurrentUser, kEdgeKey, name, false});
  }
  return out;
}

// The shared planting, with values of another type than the repair writes; no key where one is made.
void Plant(const Registry& registry, const Plan& plan) {
  for (const tst::PlantedValue& p : tst::Problems(plan, true)) registry.WriteValue(p.root, p.key, p.name, p.value);
  for (const Step& s : plan)
    if (s.kind == StepKind::CreateKey) registry.DeleteKey(s.root, s.key);
}

// One line per watched value or key; control characters spelled out so that lines stay lines.
void Dump(const Registry& registry, const std::vector<exporting::RepairPlan>& plans, WindowsVersion windows) {
  for (const exporting::RepairPlan& p : plans) {
    for (const Watched& w : WatchedBy(p.id, p.plan)) {
      std::wstring line = std::to_wstring(p.id) + L" " + VersionName(windows) + L" " + FullKeyName(w.root, w.key);
      if (w.keyOnly) {
        line += registry.KeyExists(w.root, w.key) ? L": exists" : L": absent";
      } else {
        line += L" [" + w.name + L"] " + DescribeValue(registry.ReadValue(w.root, w.key, w.name));
      }
      for (char c : WideToUtf8(line)) {
        if (static_cast<unsigned char>(c) < 0x20) std::printf("\\x%02X", static_cast<unsigned>(c));
        else std::putchar(c);
      }
      std::putchar('\n');
    }
  }
}

// Runs a batch file with cmd.exe, its output kept beside it; the batch file's exit code.
DWORD RunBatch(const std::wstring& folder, const std::wstring& text, std::string* output) {
  std::filesystem::create_directories(std::filesystem::path(folder));
  PlatformSystem().files.ReplaceWholeFile(folder + L"\\export.cmd", ExportFileBytes(ExportFormat::Cmd, text));
  const DWORD code = tst::RunAndWait(L"\"" + PlatformSystem().os.SystemFolder() + L"\\cmd.exe\" /c " + folder +
                                         L"\\export.cmd > " + folder + L"\\output.txt 2>&1");
  PlatformSystem().files.ReadWholeFile(folder + L"\\output.txt", output);
  return code;
}

bool Contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

// Without the twin, each step only it can do is reported and counted, as is a command that
// fails; the exit code says so.
bool CheckFailuresAreCounted() {
  const RepairArgs seven{WindowsVersion::Seven, L"IE8"};
  const ExportResult batch = exporting::WriteBatchFile(
      {{701, L"", PlanFor(701, seven)}, {9004, L"", {Run(L"/c exit 3"), Run(L"/c exit 0")}}}, seven.windows, {});
  std::string output;
  const DWORD code = RunBatch(kAlone, batch.text, &output);
  int reported = 0;
  for (std::size_t at = output.find(" failed"); at != std::string::npos; at = output.find(" failed", at + 1)) ++reported;
  bool ok = code == 1 && reported == 2;
  ok = ok && Contains(output, "Corrivo 701, step 3 failed: only Corrivo.com can do this");
  ok = ok && Contains(output, "Corrivo 9004, step 1 failed");
  ok = ok && Contains(output, "Failed steps: 2");
  if (!ok)
    std::fprintf(stderr, "export_wine_probe: the batch file without the twin does not report its failures (exit %lu):\n%s",
                 static_cast<unsigned long>(code), output.c_str());
  return ok;
}

int Twin(int id) {
  WindowsVersion windows = WindowsVersion::Seven;
  wchar_t name[32] = {};
  if (GetEnvironmentVariableW(L"CORRIVO_EXPORT_WINDOWS", name, 32)) ParseVersionName(name, &windows);
  return RunRepair(PlatformSystem(), id, RepairArgs{windows, L"IE8"}) ? 0 : 1;
}

std::vector<exporting::RepairPlan> PlansOf(const std::vector<int>& ids, const RepairArgs& args) {
  std::vector<exporting::RepairPlan> out;
  for (int id : ids) out.push_back({id, L"", PlanFor(id, args)});
  return out;
}

std::vector<exporting::RepairPlan> Join(std::vector<exporting::RepairPlan> a, const std::vector<exporting::RepairPlan>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

bool ImportRegFile(const std::wstring& name, const ExportResult& file) {
  std::filesystem::create_directories(std::filesystem::path(kWork));
  const std::wstring path = std::wstring(kWork) + L"\\" + name;
  PlatformSystem().files.ReplaceWholeFile(path, ExportFileBytes(ExportFormat::Reg, file.text));
  const DWORD code = tst::RunAndWait(L"regedit.exe /s " + path);
  if (file.ok && code == 0) return true;
  std::fprintf(stderr, "export_wine_probe: %s refused (%s) or regedit answered %lu\n", WideToUtf8(name).c_str(),
               WideToUtf8(file.error).c_str(), static_cast<unsigned long>(code));
  return false;
}

bool RunBatchFile(const std::wstring& name, const ExportResult& batch, WindowsVersion windows) {
  std::string output;
  const DWORD code = RunBatch(std::wstring(kWork) + L"\\" + name, batch.text, &output);
  if (batch.ok && code == 0) return true;
  std::fprintf(stderr, "export_wine_probe: %s for Windows %s refused (%s) or ended with %lu:\n%s", WideToUtf8(name).c_str(),
               WideToUtf8(VersionName(windows)).c_str(), WideToUtf8(batch.error).c_str(),
               static_cast<unsigned long>(code), output.c_str());
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"fix") return Twin(std::stoi(argv[2]));
  if (argc < 3) {
    std::fprintf(stderr, "usage: export_wine_probe repair|reg|cmd VERSION...\n");
    return 2;
  }
  const std::wstring mode = argv[1];
  const Registry registry = PlatformSystem().registry();
  const std::vector<exporting::RepairPlan> edgeRegistry = {tst::EdgeRegistryPlan()};
  const std::vector<exporting::RepairPlan> edgeWide = {tst::EdgeWidePlan()};
  const std::vector<exporting::RepairPlan> edgeCommands = {tst::EdgeCommandPlan()};
  bool ok = true;
  for (int i = 2; i < argc; ++i) {
    RepairArgs args;
    if (!ParseVersionName(argv[i], &args.windows)) return 2;
    std::vector<int> registryOnly, withTwin, all;
    for (const Repair& r : Repairs())
      if (IsExportable(r.id, ExportFormat::Reg, args.windows)) registryOnly.push_back(r.id);
    withTwin = registryOnly;
    for (int id : kTwinRepairs)
      if (!FindRepair(id)->disabledOn.Contains(args.windows)) withTwin.push_back(id);
    all = withTwin;
    for (int id : kCommandRepairs)
      if (!FindRepair(id)->disabledOn.Contains(args.windows)) all.push_back(id);
    std::sort(withTwin.begin(), withTwin.end());
    std::sort(all.begin(), all.end());
    const auto everything = Join(Join(Join(PlansOf(all, args), edgeRegistry), edgeWide), edgeCommands);

    // A fresh prefix has few of these keys: plant the problems so that deletions, key
    // deletions and changes of type are really exercised.
    for (const auto& p : everything) Plant(registry, p.plan);
    if (mode == L"repair") {
      for (const auto& p : everything) ExecutePlan(PlatformSystem(), p.plan);
      Dump(registry, everything, args.windows);
    } else if (mode == L"reg") {
      // Steps only the program can do are left out; in these repairs they leave the registry
      // as the program leaves it when they cannot be done here (205's fallback home page).
      ok = ImportRegFile(L"catalogue.reg", ExportRepairs(ExportFormat::Reg, withTwin, args.windows, ExportOptions{true})) && ok;
      ok = ImportRegFile(L"edge.reg", exporting::WriteRegFile(Join(edgeRegistry, edgeWide), args.windows, {})) && ok;
      Dump(registry, Join(Join(PlansOf(withTwin, args), edgeRegistry), edgeWide), args.windows);
    } else if (mode == L"cmd") {
      // The first version's batch file has only the registry steps, without the twin beside
      // it; the others have everything, the twin running the steps only it can do.
      const bool registryOnlyRun = i == 2;
      const std::vector<int>& ids = registryOnlyRun ? withTwin : all;
      const std::wstring name = std::wstring(L"catalogue-") + VersionName(args.windows);
      if (!registryOnlyRun) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring folder = std::wstring(kWork) + L"\\" + name;
        std::filesystem::create_directories(std::filesystem::path(folder));
        CopyFileW(self, (folder + L"\\Corrivo.com").c_str(), FALSE);
        SetEnvironmentVariableW(L"CORRIVO_EXPORT_WINDOWS", VersionName(args.windows));
      }
      ok = RunBatchFile(name, ExportRepairs(ExportFormat::Cmd, ids, args.windows, ExportOptions{registryOnlyRun}),
                        args.windows) && ok;
      ok = RunBatchFile(L"edge", exporting::WriteBatchFile(Join(edgeRegistry, edgeCommands), args.windows, {}), args.windows) && ok;
      Dump(registry, Join(Join(PlansOf(ids, args), edgeRegistry), edgeCommands), args.windows);
      if (i == 2) ok = CheckFailuresAreCounted() && ok;
    } else {
      return 2;
    }
  }
  return ok ? 0 : 1;
}
