#include "catalog/export.h"

#include "catalog/catalog.h"
#include "catalog/reg_file.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace exporting {

bool IsProgramOnly(const Step& step) { return step.kind == StepKind::Special; }

std::wstring StepLabel(std::size_t index, const Step& step) {
  std::wstring what;
  switch (step.kind) {
    case StepKind::Run: what = L"cmd.exe " + step.text; break;
    case StepKind::Wait: what = L"a pause of " + std::to_wstring(step.ms) + L" ms"; break;
    case StepKind::Special:
      switch (step.special) {
        case SpecialStep::CreateIEShortcuts: what = L"the Internet Explorer shortcuts"; break;
        case SpecialStep::RequestHomePageProtection: what = L"the home-page protection library"; break;
        case SpecialStep::ResetIEToDefaults: what = L"the Internet Explorer reset"; break;
        case SpecialStep::PatchStickyNotesFlags: what = L"the shell-state patch"; break;
        case SpecialStep::KillExplorer: what = L"ending Explorer"; break;
        case SpecialStep::RewriteHostsFile: what = L"the hosts file rewrite"; break;
        case SpecialStep::RefreshDesktop: what = L"the desktop refresh"; break;
        case SpecialStep::None: what = L"nothing"; break;
      }
      break;
    default: what = DescribeStep(step); break;
  }
  return L"step " + std::to_wstring(index + 1) + L" (" + what + L")";
}

RegistryValue WrittenValue(const Step& step) {
  if (step.kind == StepKind::WriteDword) {
    const auto v = static_cast<std::uint32_t>(step.dword);
    return {RegType::Dword,
            {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
             static_cast<std::uint8_t>(v >> 24)}};
  }
  const auto units = WideToUtf16Le(step.text, true);
  return {step.kind == StepKind::WriteExpandString ? RegType::ExpandSz : RegType::Sz, {units.begin(), units.end()}};
}

namespace {

// A registry step, or a step a .reg file cannot carry.
bool Unwritable(const Step& step) { return step.kind == StepKind::Run || step.kind == StepKind::Special; }

void WriteStep(RegFileWriter& file, const Step& s) {
  switch (s.kind) {
    case StepKind::WriteDword:
    case StepKind::WriteString:
    case StepKind::WriteExpandString: file.AddValue(s.root, s.key, s.name, WrittenValue(s)); break;
    case StepKind::DeleteValue: file.DeleteValue(s.root, s.key, s.name); break;
    case StepKind::DeleteKey: file.DeleteKey(s.root, s.key); break;
    case StepKind::CreateKey: file.CreateKey(s.root, s.key); break;
    default: break;
  }
}

}  // namespace

ExportResult WriteRegFile(const std::vector<RepairPlan>& repairs, WindowsVersion windows, const ExportOptions& options) {
  ExportResult result;
  for (const RepairPlan& r : repairs) {
    std::wstring refused;
    for (std::size_t i = 0; i < r.plan.size(); ++i)
      if (Unwritable(r.plan[i])) refused += (refused.empty() ? L"" : L", ") + StepLabel(i, r.plan[i]);
    if (!refused.empty() && !options.registryOnly)
      result.error += L"repair " + std::to_wstring(r.id) + L" does more than change the registry: " + refused + L"\n";
  }
  if (!result.error.empty()) return result;

  RegFileWriter file;
  file.Comment(std::wstring(L"Corrivo repairs for Windows ") + VersionName(windows) +
               L", written from the program's own plans.\nHKEY_CURRENT_USER entries apply to the user who imports this file.");
  for (const RepairPlan& r : repairs) {
    file.Comment(L"Corrivo " + std::to_wstring(r.id) + L": " + r.caption);
    std::wstring leftOut;
    bool anyChange = false;
    // For a step that runs only when the one before it failed: a written step and a pause are
    // taken to succeed, so the fallback is left out; a step left out here cannot have
    // succeeded, so the fallback is written.
    bool previousLeftOut = false;
    for (std::size_t i = 0; i < r.plan.size(); ++i) {
      const Step& s = r.plan[i];
      const bool conditional = s.condition == StepCondition::IfPreviousFailed;
      if (Unwritable(s) || s.kind == StepKind::Wait || (conditional && !previousLeftOut)) {
        leftOut += (leftOut.empty() ? L"" : L", ") + StepLabel(i, s);
        if (!conditional) previousLeftOut = s.kind != StepKind::Wait;
        continue;
      }
      if (ChangesRegistry(s)) {
        WriteStep(file, s);
        anyChange = true;
      }
      previousLeftOut = false;
    }
    if (!leftOut.empty()) file.Comment(L"Left out of this file: " + leftOut);
    if (!anyChange && leftOut.empty()) file.Comment(L"Nothing to change on this version.");
  }
  result.ok = true;
  result.text = file.Text();
  return result;
}

}  // namespace exporting

namespace {

std::wstring CaptionOf(const Repair& r) {
  if (r.caption) return r.caption;
  if (r.scanText) return r.scanText;
  return L"repair " + std::to_wstring(r.id);
}

}  // namespace

ExportResult ExportRepairs(ExportFormat format, const std::vector<int>& ids, WindowsVersion windows,
                           const ExportOptions& options) {
  ExportResult result;
  if (!IsSupported(windows)) {
    result.error = L"Corrivo repairs only Windows XP, Vista, 7 and 8\n";
    return result;
  }
  std::vector<exporting::RepairPlan> repairs;
  RepairArgs args;
  args.windows = windows;
  for (int id : ids) {
    const Repair* r = FindRepair(id);
    if (!r) {
      result.error += L"there is no repair " + std::to_wstring(id) + L"\n";
    } else if (r->disabledOn.Contains(windows)) {
      result.error += L"repair " + std::to_wstring(id) + L" is not offered on Windows " + VersionName(windows) + L"\n";
    } else {
      repairs.push_back({id, CaptionOf(*r), r->plan(args)});
    }
  }
  if (!result.error.empty()) return result;
  switch (format) {
    case ExportFormat::Reg: return exporting::WriteRegFile(repairs, windows, options);
    case ExportFormat::Cmd: return exporting::WriteBatchFile(repairs, windows, options);
    case ExportFormat::Ansible: return exporting::WritePlaybook(repairs, windows, options);
  }
  return result;
}

bool IsExportable(int id, ExportFormat format, WindowsVersion windows) {
  return ExportRepairs(format, {id}, windows, ExportOptions{}).ok;
}

std::string ExportFileBytes(ExportFormat format, const std::wstring& text) {
  switch (format) {
    case ExportFormat::Reg: return EncodeUtf16LeWithBom(text);
    case ExportFormat::Cmd: return WideToCp1252(text);
    case ExportFormat::Ansible: return WideToUtf8(text);
  }
  return {};
}

}  // namespace corrivo
