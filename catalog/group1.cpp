// Repairs 101-110: Recycle Bin icon, folder views, Games Explorer, Folder Options, hidden
// files, Sidebar, Recycle Bin pictures, the Explorer shell, CD/DVD filters, thumbnails.
#include "catalog/groups.h"
#include "catalog/literals.h"
#include "sysaccess/platform.h"
#include "sysaccess/registry.h"
#include "sysaccess/text.h"

namespace corrivo::groups {
namespace {

using namespace literals;

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
  const wchar_t* emptyData;    // also the default value
  const wchar_t* fullData;
  const wchar_t* library;      // the path Check107 expands
  const wchar_t* emptySuffix;
  const wchar_t* fullSuffix;
};

const RecycleBinIcons& IconsFor(std::int32_t osVersionCode) {
  static const RecycleBinIcons xp = {L"%SystemRoot%\\system32\\shell32.dll,31",
                                     L"%SystemRoot%\\system32\\shell32.dll,32",
                                     L"%SystemRoot%\\system32\\SHELL32.dll", L",31", L",32"};
  static const RecycleBinIcons later = {L"%SystemRoot%\\system32\\imageres.dll,-55",
                                        L"%SystemRoot%\\system32\\imageres.dll,-54",
                                        L"%SystemRoot%\\system32\\IMAGERES.dll", L",-55", L",-54"};
  return osVersionCode == 0 ? xp : later;
}

// A policy-style DWORD: set to anything but 0 is a problem; absent is not.
bool SetAndNonZero(std::int32_t value) { return value != 0 && value != RegNoValue; }

bool Check101() {
  std::int32_t classic = ReadRegInteger(kHKCU, kHideIconsClassic, kRecycleBinClsid);
  std::int32_t start = ReadRegInteger(kHKCU, kHideIconsNew, kRecycleBinClsid);
  return SetAndNonZero(classic) || SetAndNonZero(start);
}

bool Check102() {
  return GetRegValueState(kHKCU, kShellBagsKey, L"BagMRU") == kValuePresent ||
         GetRegValueState(kHKCU, kShellBagsKey, L"Bag") == kValuePresent;
}

// "empty" and "full" may be stored expanded or as the unexpanded default; letter case is not
// looked at.
bool Check107(std::int32_t osVersionCode) {
  const RecycleBinIcons& icons = IconsFor(osVersionCode);
  std::wstring empty = ReadRegString(kHKCU, kRecycleBinIconKey, L"empty");
  std::wstring full = ReadRegString(kHKCU, kRecycleBinIconKey, L"full");
  std::wstring library = ExpandEnvironmentText(icons.library, 260);
  auto correct = [&](const std::wstring& stored, const wchar_t* suffix, const wchar_t* unexpanded) {
    if (EqualsNoCase(stored, unexpanded)) return true;
    return !library.empty() && EqualsNoCase(stored, library + suffix);
  };
  if (!correct(empty, icons.emptySuffix, icons.emptyData)) return true;
  return !correct(full, icons.fullSuffix, icons.fullData);
}

bool Check108() {
  std::wstring shell = ReadRegString(kHKLM, kWinlogonKey, L"Shell");
  std::int32_t autoRestart = ReadRegInteger(kHKLM, kWinlogonKey, L"AutoRestartShell");
  return !(EqualsNoCase(shell, L"EXPLORER.EXE") && autoRestart == 1);
}

}  // namespace

bool Plan1(int id, const FixArgs& args, Plan* plan) {
  switch (id) {
    case 101:
      *plan = {WriteDword(kHKCU, kHideIconsClassic, kRecycleBinClsid, 0),
               WriteDword(kHKCU, kHideIconsNew, kRecycleBinClsid, 0)};
      return true;
    case 102:
      *plan = {DeleteValue(kHKCU, kShellBagsKey, L"BagMRU"), DeleteValue(kHKCU, kShellBagsKey, L"Bag")};
      return true;
    case 103:
      *plan = {Run(L"/c regsvr32 /s gameux.dll")};
      return true;
    case 104:
      *plan = {DeleteValue(kHKCU, kExplorerPolicies, L"NoFolderOptions")};
      return true;
    case 105:
      *plan = {WriteDword(kHKLM, kShowAllKey, L"CheckedValue", 1)};
      return true;
    case 106:
      *plan = {Run(L"/c Regsvr32 /s atl.dll"),
               Run(L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\sbdrop.dll\""),
               Run(L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\wlsrvc.dll\"")};
      return true;
    case 107: {
      const RecycleBinIcons& icons = IconsFor(args.osVersionCode);
      *plan = {WriteExpandString(kHKCU, kRecycleBinIconKey, L"", icons.emptyData),
               WriteExpandString(kHKCU, kRecycleBinIconKey, L"empty", icons.emptyData),
               WriteExpandString(kHKCU, kRecycleBinIconKey, L"full", icons.fullData)};
      return true;
    }
    case 108:
      *plan = {WriteString(kHKLM, kWinlogonKey, L"Shell", L"Explorer.exe"),
               WriteDword(kHKLM, kWinlogonKey, L"AutoRestartShell", 1)};
      return true;
    case 109:
      *plan = {DeleteValue(kHKLM, kCdromClassKey, L"UpperFilters"), DeleteValue(kHKLM, kCdromClassKey, L"LowerFilters")};
      return true;
    case 110:
      *plan = {Run(L"/c regsvr32 /i /s mshtml.dll")};
      return true;
    default:
      return false;
  }
}

bool Check1(int id, const FixArgs& args, bool* problem) {
  switch (id) {
    case 101: *problem = Check101(); return true;
    case 102: *problem = Check102(); return true;
    case 103: *problem = true; return true;
    case 104: *problem = SetAndNonZero(ReadRegInteger(kHKCU, kExplorerPolicies, L"NoFolderOptions")); return true;
    case 105: *problem = ReadRegInteger(kHKLM, kShowAllKey, L"CheckedValue") != 1; return true;
    case 106: *problem = true; return true;
    case 107: *problem = Check107(args.osVersionCode); return true;
    case 108: *problem = Check108(); return true;
    case 109: *problem = false; return true;
    case 110: *problem = true; return true;
    default: return false;
  }
}

}  // namespace corrivo::groups
