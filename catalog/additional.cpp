// Repairs 501-510: hibernation, Sidebar gadgets, the Sticky Notes warning, Windows Update,
// WinHlp32, the icon cache, jump lists and the three Aero features.
#include "catalog/catalog.h"
#include "catalog/registry_paths.h"

namespace corrivo {
namespace {

using namespace paths;

constexpr const wchar_t* kExplorerKey = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr const wchar_t* kShellState = L"ShellState";
constexpr const wchar_t* kDesktopKey = L"\\Control Panel\\Desktop";
// Aero Snap's key has always been written with the trailing backslash.
constexpr const wchar_t* kDwmKeySnap = L"\\Software\\Microsoft\\Windows\\DWM\\";
constexpr const wchar_t* kDwmKey = L"\\Software\\Microsoft\\Windows\\DWM";
constexpr const wchar_t* kCompositionPolicy = L"CompositionPolicy";
constexpr const wchar_t* kMachineDwmKey = L"\\SOFTWARE\\Microsoft\\Windows\\DWM";
constexpr const wchar_t* kAdvancedKey = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr const wchar_t* kEnableComposition = L"/c rundll32.exe Dwmapi.dll,DwmEnableComposition";

// The low four bits of ShellState's byte 4 with the delete warning on.
constexpr int kWarningOnFlags = 3;        // 0011
constexpr int kWarningOnFlagsOther = 10;  // 1010

Plan StickyNotesWarning(const RepairArgs&) {
  // Explorer keeps the shell state in memory and writes it back when it ends; it is ended right
  // after the patch so that the patched value is the one it reads when it comes back.
  return {Deciding(Special(SpecialStep::PatchStickyNotesFlags, kHKCU, kExplorerKey, kShellState)),
          Deciding(Special(SpecialStep::KillExplorer)), Wait(3000)};
}

bool StickyNotesWarningOff(const CheckContext& c) {
  std::wstring text;
  c.registry.ReadBinaryFlags(kHKCU, kExplorerKey, kShellState, text);
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (wchar_t ch : text) {
    if (ch < L'0' || ch > L'9') return false;
    value = value * 10 + (ch - L'0');
  }
  const int flags = value % 16;
  return flags != kWarningOnFlags && flags != kWarningOnFlagsOther;
}

bool AeroFeatureOff(const CheckContext& c, const wchar_t* switchName, const wchar_t* dwmKey) {
  const std::wstring enabled = c.registry.ReadString(kHKCU, kDesktopKey, switchName);
  const std::int32_t policy = c.registry.ReadInteger(kHKCU, dwmKey, kCompositionPolicy);
  return !(enabled == L"1" && policy == 2);
}

bool AeroPeekOff(const CheckContext& c) {
  const std::int32_t peek = c.registry.ReadInteger(kHKLM, kMachineDwmKey, L"EnableAeroPeek");
  const std::int32_t preview = c.registry.ReadInteger(kHKCU, kAdvancedKey, L"DisablePreviewDesktop");
  const std::int32_t policy = c.registry.ReadInteger(kHKCU, kDwmKey, kCompositionPolicy);
  return !(peek == 1 && preview == 0 && policy == 2);
}

const Repair kRepairs[] = {
    {501, Category::Additional, 1,
     L"Enable Hibernate and Hybrid Sleep feature. Fixes Hibernate is missing from Shutdown button.",
     RepairArgument::None, [](const RepairArgs&) -> Plan { return {Run(L"/c powercfg -h on")}; }, nullptr,
     L"Enable Hibernate and Hybrid Sleep feature. Fixes Hiberante is missing from Shutdown button.", kNowhere,
     kNowhere, kNowhere},
    {502, Category::Additional, 2,
     L"Restore the Windows Sidebar Gadgets. Sidebar Gadgets is missing from Gadget panel.", RepairArgument::None,
     SidebarRegistration, AlwaysAProblem, L"Restore the Windows Sidebar Gadgets. Sidebar Gadgets missing from Gadget panel.", kNowhere,
     kAfterXP, kXPOnly},
    {503, Category::Additional, 3, L"Restore the Sticky Notes delete warning dialog box.", RepairArgument::None,
     StickyNotesWarning, StickyNotesWarningOff, L"Restore the Sticky Notes delete warning dialog box.",
     kSevenAndEight, kSevenAndEight, kXPAndVista},
    {504, Category::Additional, 4, L"When you open Windows Update website, you get a blank Windows Update page.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {Run(L"/c regsvr32 /s jscript.dll"), Run(L"/c regsvr32 /s vbscript.dll"),
               Run(L"/c regsvr32 /s mshtml.dll")};
     },
     nullptr, L"When you open Windows Update website, you get a blank Windows Update page.", kNowhere, kNowhere,
     kNowhere},
    // Nothing to change in the registry or on disk: the repair only reports success.
    {505, Category::Additional, 5,
     L"Unable to open Help files that require the Windows Help (WinHlp32.exe) program on Windows Vista and Windows 7.",
     RepairArgument::None, [](const RepairArgs&) -> Plan { return {Succeed()}; }, nullptr,
     L"Unable to open Help files that requier the Windows Help (WinHlp32.exe) program on Windows Vista and Windows 7.",
     kNowhere, kNowhere, kNowhere},
    {506, Category::Additional, 6,
     L"Fix Corrupted Desktop Icons. Clear and rebuild corrupted icon cache and increase maximum icon cache limit up to 2000.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {Run(L"/c attrib -h -s -a -r \"%userprofile%\\AppData\\Local\\IconCache.db\""),
               Run(L"/c del /q \"%userprofile%\\AppData\\Local\\IconCache.db\""),
               WriteDword(kHKLM, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer", L"Max Cached Icons", 2000)};
     },
     nullptr,
     L"Fix Corrupted Desktop Icons. Clear and rebuild corrupted icon cache and increase maximum icon cache limit upto 5000.",
     kNowhere, kNowhere, kNowhere},
    {507, Category::Additional, 7, L"Taskbar JumpList is missing or doesn't store MRU file list.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {Run(L"/c del /q /s %APPDATA%\\Microsoft\\Windows\\Recent\\AutomaticDestinations\\*.*")};
     },
     nullptr, L"Taskbar JumpList is missing or doesn't store MRU file list.", kNowhere, kNowhere, kXPAndVista},
    {508, Category::Additional, 8, L"Aero Snap is not working.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteString(kHKCU, kDesktopKey, L"DockMoving", L"1"), WriteDword(kHKCU, kDwmKeySnap, kCompositionPolicy, 2),
               Run(kEnableComposition)};
     },
     [](const CheckContext& c) { return AeroFeatureOff(c, L"DockMoving", kDwmKeySnap); }, L"Aero Snap is not working.",
     kNowhere, kSevenAndEight, kXPAndVista},
    {509, Category::Additional, 9, L"Aero Shake is not working.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteString(kHKCU, kDesktopKey, L"WindowArrangementActive", L"1"),
               WriteDword(kHKCU, kDwmKey, kCompositionPolicy, 2), Run(kEnableComposition)};
     },
     [](const CheckContext& c) { return AeroFeatureOff(c, L"WindowArrangementActive", kDwmKey); },
     L"Aero Shake is not working.", kNowhere, kSevenAndEight, kXPAndVista},
    {510, Category::Additional, 10, L"Aero Peek is not working.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteDword(kHKLM, kMachineDwmKey, L"EnableAeroPeek", 1),
               WriteDword(kHKCU, kAdvancedKey, L"DisablePreviewDesktop", 0),
               WriteDword(kHKCU, kDwmKey, kCompositionPolicy, 2), Run(kEnableComposition)};
     },
     AeroPeekOff, L"Aero Peek is not working. ", kNowhere, kSevenAndEight, kXPAndVista},
};

}  // namespace

std::span<const Repair> AdditionalRepairs() { return kRepairs; }

}  // namespace corrivo
