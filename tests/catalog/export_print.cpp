// Writes one playbook for the consumer check (scripts/check-exports ansible):
//   export_print ansible xp|vista|7|8 FILE        every repair the playbook takes on that version
//   export_print ansible-edge xp|vista|7|8 FILE   the edge plans of export_edge_plans.h
// Beside it, FILE.expect.json: for each step ("ID STEP") the value name, data and command as the
// plan holds them, for the check to hold the parsed YAML to. Exits 1, with the exporter's error
// on stderr, when the export is refused.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/export.h"
#include "console/json.h"
#include "sysaccess/text.h"
#include "tests/catalog/export_edge_plans.h"

using namespace corrivo;

namespace {

std::string Json(const std::wstring& text) { return WideToUtf8(console::JsonString(text)); }

// What each step's task must carry, straight from the plan.
std::string Expectations(const std::vector<exporting::RepairPlan>& plans) {
  std::string out = "{";
  for (const auto& p : plans) {
    for (std::size_t i = 0; i < p.plan.size(); ++i) {
      const Step& s = p.plan[i];
      std::string fields;
      if (ChangesRegistry(s)) {
        fields += "\"key\": " + Json(s.key);
        if (s.kind != StepKind::DeleteKey && s.kind != StepKind::CreateKey) fields += ", \"name\": " + Json(s.name);
        if (s.kind == StepKind::WriteDword) fields += ", \"data\": " + std::to_string(static_cast<std::uint32_t>(s.dword));
        if (s.kind == StepKind::WriteString || s.kind == StepKind::WriteExpandString) fields += ", \"data\": " + Json(s.text);
      } else if (s.kind == StepKind::Run) {
        fields = "\"cmd\": " + Json(L"cmd.exe " + s.text);
      } else {
        continue;
      }
      if (out.size() > 1) out += ",\n ";
      out += "\"" + std::to_string(p.id) + " " + std::to_string(i + 1) + "\": {" + fields + "}";
    }
  }
  return out + "}\n";
}

}  // namespace

int main(int argc, char** argv) {
  const bool edge = argc == 4 && std::strcmp(argv[1], "ansible-edge") == 0;
  WindowsVersion windows = WindowsVersion::Unknown;
  if (argc != 4 || (!edge && std::strcmp(argv[1], "ansible") != 0) || !ParseVersionName(Utf8ToWide(argv[2]), &windows)) {
    std::fprintf(stderr, "usage: export_print ansible|ansible-edge xp|vista|7|8 FILE\n");
    return 2;
  }
  std::vector<int> ids;
  std::vector<exporting::RepairPlan> plans;
  if (edge) {
    plans = {testing::EdgeRegistryPlan(), testing::EdgeWidePlan(), testing::EdgeCommandPlan()};
  } else {
    for (const Repair& r : Repairs()) {
      if (!IsExportable(r.id, ExportFormat::Ansible, windows)) continue;
      ids.push_back(r.id);
      plans.push_back({r.id, L"", PlanFor(r.id, RepairArgs{windows, L"IE8"})});
    }
  }
  const ExportResult result =
      edge ? exporting::WritePlaybook(plans, windows, {}) : ExportRepairs(ExportFormat::Ansible, ids, windows, {});
  if (!result.ok) {
    std::fprintf(stderr, "%s", WideToUtf8(result.error).c_str());
    return 1;
  }
  std::ofstream(argv[3], std::ios::binary) << ExportFileBytes(ExportFormat::Ansible, result.text);
  std::ofstream(std::string(argv[3]) + ".expect.json", std::ios::binary) << Expectations(plans);
  return 0;
}
