// Repairs 101-110: Recycle Bin icon, folder views, Games Explorer, Folder Options, hidden
// files, Sidebar, Recycle Bin pictures, the Explorer shell, CD/DVD filters, thumbnails.
#include "catalog/catalog.h"
#include "catalog/registry_paths.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

using namespace paths;

constexpr const wchar_t* kRecycleBinClsid = L"{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const wchar_t* kRecycleBinIconKey =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"
    L"\\DefaultIcon";
constexpr const wchar_t* kShellBagsKey = L"\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell";
constexpr const wchar_t* kExplorerPolicies = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const wchar_t* kShowAllKey =
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden\\SHOWALL";
constexpr const wchar_t* kWinlogonKey = L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const wchar_t* kCdromClassKey =
    L"\\System\\CurrentControlSet\\Control\\Class\\{4D36E965-E325-11CE-BFC1-08002BE10318}";

// The Recycle Bin pictures of one Windows generation.
struct RecycleBinIcons {
  const wchar_t* emptyData;  // also the default value
  const wchar_t* fullData;
  const wchar_t* library;    // the path the check expands
  const wchar_t* emptySuffix;
  const wchar_t* fullSuffix;
};

const RecycleBinIcons& IconsFor(WindowsVersion windows) {
  static const RecycleBinIcons xp = {L"%SystemRoot%\\system32\\shell32.dll,31",
                                     L"%SystemRoot%\\system32\\shell32.dll,32",
                                     L"%SystemRoot%\\system32\\SHELL32.dll", L",31", L",32"};
  static const RecycleBinIcons later = {L"%SystemRoot%\\system32\\imageres.dll,-55",
                                        L"%SystemRoot%\\system32\\imageres.dll,-54",
                                        L"%SystemRoot%\\system32\\IMAGERES.dll", L",-55", L",-54"};
  return windows == WindowsVersion::XP ? xp : later;
}

// A policy-style DWORD: set to anything but 0 is a problem; absent is not.
bool SetAndNonZero(std::int32_t value) { return value != 0 && value != RegNoValue; }

bool RecycleBinIconHidden(const CheckContext& c) {
  return SetAndNonZero(c.registry.ReadInteger(kHKCU, kHideIconsClassic, kRecycleBinClsid)) ||
         SetAndNonZero(c.registry.ReadInteger(kHKCU, kHideIconsNew, kRecycleBinClsid));
}

bool FolderViewsSaved(const CheckContext& c) {
  return c.registry.ValueState(kHKCU, kShellBagsKey, L"BagMRU") == kValuePresent ||
         c.registry.ValueState(kHKCU, kShellBagsKey, L"Bag") == kValuePresent;
}

bool FolderOptionsDisabled(const CheckContext& c) {
  return SetAndNonZero(c.registry.ReadInteger(kHKCU, kExplorerPolicies, L"NoFolderOptions"));
}

bool HiddenFilesSettingBroken(const CheckContext& c) {
  return c.registry.ReadInteger(kHKLM, kShowAllKey, L"CheckedValue") != 1;
}

// "empty" and "full" may be stored expanded or as the unexpanded default; letter case is not
// looked at.
bool RecycleBinPicturesWrong(const CheckContext& c) {
  const RecycleBinIcons& icons = IconsFor(c.windows);
  const std::wstring empty = c.registry.ReadString(kHKCU, kRecycleBinIconKey, L"empty");
  const std::wstring full = c.registry.ReadString(kHKCU, kRecycleBinIconKey, L"full");
  const std::wstring library = c.system.os.ExpandEnvironment(icons.library, 260);
  auto correct = [&](const std::wstring& stored, const wchar_t* suffix, const wchar_t* unexpanded) {
    if (EqualsNoCase(stored, unexpanded)) return true;
    return !library.empty() && EqualsNoCase(stored, library + suffix);
  };
  if (!correct(empty, icons.emptySuffix, icons.emptyData)) return true;
  return !correct(full, icons.fullSuffix, icons.fullData);
}

bool ExplorerNotTheShell(const CheckContext& c) {
  const std::wstring shell = c.registry.ReadString(kHKLM, kWinlogonKey, L"Shell");
  const std::int32_t autoRestart = c.registry.ReadInteger(kHKLM, kWinlogonKey, L"AutoRestartShell");
  return !(EqualsNoCase(shell, L"EXPLORER.EXE") && autoRestart == 1);
}

const Repair kRepairs[] = {
    {101, Category::Desktop, 3, L"\"Recycle Bin\" icon is no longer displayed.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteDword(kHKCU, kHideIconsClassic, kRecycleBinClsid, 0),
               WriteDword(kHKCU, kHideIconsNew, kRecycleBinClsid, 0)};
     },
     RecycleBinIconHidden, L"The Recycle Bin icon is missing from your desktop.", kEvery, kEvery, kNowhere},
    {102, Category::System, 1,
     L"Resets or fixes folders view settings to default, when folders are showing different command bar and controls than content.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {DeleteValue(kHKCU, kShellBagsKey, L"BagMRU"), DeleteValue(kHKCU, kShellBagsKey, L"Bag")};
     },
     FolderViewsSaved,
     L"Resets or fixes folders view settings to default, when folders are showing different command bar and controls than content.",
     kEvery, kEvery, kNowhere},
    {103, Category::System, 2, L"Games Explorer is not working or unable to open Games Explorer folder.",
     RepairArgument::None, [](const RepairArgs&) -> Plan { return {Run(L"/c regsvr32 /s gameux.dll")}; },
     AlwaysAProblem, L"Games Explorer is not working or unable to open Games Explorer folder.", kNowhere, kAfterXP,
     kXPOnly},
    {104, Category::System, 3,
     L"Enable Folder Options. Fixes when Folder Options is missing from Tools menu and Control Panel.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan { return {DeleteValue(kHKCU, kExplorerPolicies, L"NoFolderOptions")}; },
     FolderOptionsDisabled,
     L"Enable Folder Options. Fixes when Folder Options is missing from Tools menu and Control Panel.", kEvery, kEvery,
     kNowhere},
    {105, Category::Desktop, 9,
     L"Fix \"Show Hidden Files, Folders and Drives\". Some malware modifies the Windows settings to disable or prevent users from changing Show Hidden Files and Folders under Folder Options.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan { return {WriteDword(kHKLM, kShowAllKey, L"CheckedValue", 1)}; },
     HiddenFilesSettingBroken,
     L"Fixes Show hidden files, folders and drives. Some malware modify Windows settings to disable or prevent users from changing Show Hidden Files and Folders under Folder Options.",
     kEvery, kEvery, kNowhere},
    {106, Category::System, 6,
     L"Restore the Windows Sidebar. Fixes when you try to run the program to start it, Windows Sidebar does not appear on desktop.",
     RepairArgument::None, SidebarRegistration, AlwaysAProblem,
     L"Restore the Windows Sidebar. Fixes when you try to run the program to start it, Windows Sidebar does not appear on desktop.",
     kNowhere, kAfterXP, kXPOnly},
    {107, Category::Desktop, 10, L"Fixes Recycle Bin icon, if it doesn't refresh automatically.",
     RepairArgument::WindowsVersion,
     [](const RepairArgs& a) -> Plan {
       const RecycleBinIcons& icons = IconsFor(a.windows);
       return {WriteExpandString(kHKCU, kRecycleBinIconKey, L"", icons.emptyData),
               WriteExpandString(kHKCU, kRecycleBinIconKey, L"empty", icons.emptyData),
               WriteExpandString(kHKCU, kRecycleBinIconKey, L"full", icons.fullData)};
     },
     RecycleBinPicturesWrong, L"Fixes Recycle Bin icon, when it doesn't refresh automatcally.", kEvery, kEvery,
     kNowhere},
    {108, Category::System, 8, L"Explorer.exe won't start at boot in Windows.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteString(kHKLM, kWinlogonKey, L"Shell", L"Explorer.exe"),
               WriteDword(kHKLM, kWinlogonKey, L"AutoRestartShell", 1)};
     },
     ExplorerNotTheShell, L"Explorer.exe won't start at boot in Windows.", kEvery, kEvery, kNowhere},
    {109, Category::System, 9, L"CD drive or DVD drive is missing or is not recognized by Windows or other programs.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {DeleteValue(kHKLM, kCdromClassKey, L"UpperFilters"), DeleteValue(kHKLM, kCdromClassKey, L"LowerFilters")};
     },
     // A third-party filter cannot be told from a good one by reading it.
     NeverAProblem, L"CD drive or DVD drive is missing or is not recongnized by Windows or other programs.", kEvery,
     kEvery, kNowhere},
    {110, Category::System, 10, L"Thumbnails are not working in Windows Explorer.", RepairArgument::None,
     [](const RepairArgs&) -> Plan { return {Run(L"/c regsvr32 /i /s mshtml.dll")}; }, AlwaysAProblem,
     L"Thumbnails not working in Windows Explorer.", kNowhere, kEvery, kNowhere},
};

}  // namespace

std::span<const Repair> ExplorerShellRepairs() { return kRepairs; }

}  // namespace corrivo
