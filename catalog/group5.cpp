// Repairs 501-510: features that came with Windows Vista and 7 (hibernation, gadgets, the
// notes' delete warning, script engines, the icon cache, jump lists and the Aero features).
#include "catalog/groups.h"
#include "sysaccess/registry.h"

namespace corrivo::groups {
namespace {

const std::wstring kHKCU = L"HKEY_CURRENT_USER";
const std::wstring kHKLM = L"HKEY_LOCAL_MACHINE";

const wchar_t* const kExplorerKey = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t* const kShellState = L"ShellState";
const wchar_t* const kDesktopKey = L"\\Control Panel\\Desktop";
// 508 writes and reads the DWM key with a trailing backslash, 509 and 510 without; both
// spellings reach the same key.
const wchar_t* const kDwmKeySnap = L"\\Software\\Microsoft\\Windows\\DWM\\";
const wchar_t* const kDwmKey = L"\\Software\\Microsoft\\Windows\\DWM";
const wchar_t* const kCompositionPolicy = L"CompositionPolicy";
const wchar_t* const kMachineDwmKey = L"\\SOFTWARE\\Microsoft\\Windows\\DWM";
const wchar_t* const kAdvancedKey = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t* const kEnableComposition = L"/c rundll32.exe Dwmapi.dll,DwmEnableComposition";

// The shell-state flags that keep the notes' delete warning on.
constexpr int kWarningOnFlags = 3;        // 0011
constexpr int kWarningOnFlagsOther = 10;  // 1010

Plan PlanStickyNotesWarning() {
  Plan plan;
  plan.push_back(Deciding(Special(SpecialStep::PatchStickyNotesFlags, kHKCU, kExplorerKey, kShellState)));
  plan.push_back(Deciding(Special(SpecialStep::KillExplorer)));
  // The pause comes whatever happened before, so that the shell can come back up.
  plan.push_back(Wait(3000));
  return plan;
}

Plan PlanIconCache() {
  return {Run(L"/c attrib -h -s -a -r \"%userprofile%\\AppData\\Local\\IconCache.db\""),
          Run(L"/c del /q \"%userprofile%\\AppData\\Local\\IconCache.db\""),
          WriteDword(kHKLM, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer",
                     L"Max Cached Icons", 2000)};
}

Plan PlanAeroSnap() {
  return {WriteString(kHKCU, kDesktopKey, L"DockMoving", L"1"),
          WriteDword(kHKCU, kDwmKeySnap, kCompositionPolicy, 2),
          Run(kEnableComposition)};
}

Plan PlanAeroShake() {
  return {WriteString(kHKCU, kDesktopKey, L"WindowArrangementActive", L"1"),
          WriteDword(kHKCU, kDwmKey, kCompositionPolicy, 2),
          Run(kEnableComposition)};
}

Plan PlanAeroPeek() {
  return {WriteDword(kHKLM, kMachineDwmKey, L"EnableAeroPeek", 1),
          WriteDword(kHKCU, kAdvancedKey, L"DisablePreviewDesktop", 0),
          WriteDword(kHKCU, kDwmKey, kCompositionPolicy, 2),
          Run(kEnableComposition)};
}

// The flags byte comes back as decimal text. A value that cannot be read leaves the text
// empty: there is then nothing the repair could restore, so it does not count as a problem.
bool StickyNotesWarningOff() {
  std::wstring text;
  ReadRegBinaryFlags(kHKCU, kExplorerKey, kShellState, text);
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    value = value * 10 + (c - L'0');
  }
  int flags = value % 16;
  return flags != kWarningOnFlags && flags != kWarningOnFlagsOther;
}

// Both values are read before deciding; a missing one counts as wrong.
bool AeroFeatureOff(const wchar_t* switchName, const wchar_t* dwmKey) {
  std::wstring enabled = ReadRegString(kHKCU, kDesktopKey, switchName);
  std::int32_t policy = ReadRegInteger(kHKCU, dwmKey, kCompositionPolicy);
  return !(enabled == L"1" && policy == 2);
}

bool AeroPeekOff() {
  std::int32_t peek = ReadRegInteger(kHKLM, kMachineDwmKey, L"EnableAeroPeek");
  std::int32_t preview = ReadRegInteger(kHKCU, kAdvancedKey, L"DisablePreviewDesktop");
  std::int32_t policy = ReadRegInteger(kHKCU, kDwmKey, kCompositionPolicy);
  return !(peek == 1 && preview == 0 && policy == 2);
}

}  // namespace

bool Plan5(int id, const FixArgs& args, Plan* plan) {
  switch (id) {
    case 501: *plan = {Run(L"/c powercfg -h on")}; return true;
    case 502:
      *plan = {Run(L"/c Regsvr32 /s atl.dll"),
               Run(L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\sbdrop.dll\""),
               Run(L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\wlsrvc.dll\"")};
      return true;
    case 503: *plan = PlanStickyNotesWarning(); return true;
    case 504:
      *plan = {Run(L"/c regsvr32 /s jscript.dll"), Run(L"/c regsvr32 /s vbscript.dll"),
               Run(L"/c regsvr32 /s mshtml.dll")};
      return true;
    // Every caller passes the Help program flag as false, which leaves nothing to do.
    case 505: *plan = {Succeed()}; return true;
    case 506: *plan = PlanIconCache(); return true;
    case 507:
      *plan = {Run(L"/c del /q /s %APPDATA%\\Microsoft\\Windows\\Recent\\AutomaticDestinations\\*.*")};
      return true;
    case 508: *plan = PlanAeroSnap(); return true;
    case 509: *plan = PlanAeroShake(); return true;
    case 510: *plan = PlanAeroPeek(); return true;
    default: return false;
  }
}

// 501, 504, 505, 506 and 507 have no check. The scan asks 502 only after XP and 503, 508,
// 509 and 510 only from Windows 7 on; it decides that, not the checks.
bool Check5(int id, const FixArgs& args, bool* problem) {
  switch (id) {
    case 502: *problem = true; return true;
    case 503: *problem = StickyNotesWarningOff(); return true;
    case 508: *problem = AeroFeatureOff(L"DockMoving", kDwmKeySnap); return true;
    case 509: *problem = AeroFeatureOff(L"WindowArrangementActive", kDwmKey); return true;
    case 510: *problem = AeroPeekOff(); return true;
    default: return false;
  }
}

}  // namespace corrivo::groups
