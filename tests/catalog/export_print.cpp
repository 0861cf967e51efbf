// Writes one export file for the consumer checks (scripts/check-exports):
//   export_print reg|cmd|ansible xp|vista|7|8 FILE [--registry-only] [ID ...]
//   export_print ansible-edge xp|vista|7|8 FILE
// Without IDs it takes every repair the format exports on that version; "ansible-edge" writes
// the edge plans of export_edge_plans.h instead. Beside a playbook it writes FILE.expect.json:
// for each step ("ID STEP") the value name, data and command as the plan holds them, for the
// check to hold the parsed YAML to. Exits 1, with the exporter's error on stderr, when the
// export is refused.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/export.h"
#include "sysaccess/text.h"
#include "tests/catalog/export_edge_plans.h"

using namespace corrivo;

namespace {

std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (char c : WideToUtf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

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
  if (argc < 4) {
    std::fprintf(stderr, "usage: export_print reg|cmd|ansible VERSION FILE [--registry-only] [ID ...]\n");
    return 2;
  }
  const std::string formatName = argv[1];
  ExportFormat format = ExportFormat::Reg;
  const bool edge = formatName == "ansible-edge";
  if (formatName == "cmd") {
    format = ExportFormat::Cmd;
  } else if (formatName == "ansible" || edge) {
    format = ExportFormat::Ansible;
  } else if (formatName != "reg") {
    std::fprintf(stderr, "export_print: unknown format %s\n", argv[1]);
    return 2;
  }
  WindowsVersion windows = WindowsVersion::Unknown;
  if (!ParseVersionName(Utf8ToWide(argv[2]), &windows)) {
    std::fprintf(stderr, "export_print: unknown version %s\n", argv[2]);
    return 2;
  }
  ExportOptions options;
  std::vector<int> ids;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--registry-only") == 0) {
      options.registryOnly = true;
    } else {
      ids.push_back(std::atoi(argv[i]));
    }
  }
  if (ids.empty())
    for (const Repair& r : Repairs())
      if (IsExportable(r.id, format, windows)) ids.push_back(r.id);
  std::vector<exporting::RepairPlan> plans;
  if (edge) {
    plans = {testing::EdgeRegistryPlan(), testing::EdgeWidePlan(), testing::EdgeCommandPlan()};
  } else {
    for (int id : ids) plans.push_back({id, L"", PlanFor(id, RepairArgs{windows, L"IE8"})});
  }
  const ExportResult result = edge ? exporting::WritePlaybook(plans, windows, options) : ExportRepairs(format, ids, windows, options);
  if (!result.ok) {
    std::fprintf(stderr, "%s", WideToUtf8(result.error).c_str());
    return 1;
  }
  std::ofstream(argv[3], std::ios::binary) << ExportFileBytes(format, result.text);
  if (format == ExportFormat::Ansible) std::ofstream(std::string(argv[3]) + ".expect.json", std::ios::binary) << Expectations(plans);
  return 0;
}
