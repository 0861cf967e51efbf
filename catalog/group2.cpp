// Repairs 201-210: Internet Explorer's desktop icon, first-run wizard, Internet Options,
// connections, home page, script errors, TCP/IP, fonts, reset, context menu.
#include "catalog/fixes.h"
#include "catalog/groups.h"
#include "catalog/literals.h"
#include "sysaccess/platform.h"
#include "sysaccess/registry.h"
#include "sysaccess/text.h"

namespace corrivo::groups {
namespace {

using namespace literals;

constexpr const wchar_t* kIEDesktopClsid = L"{871C5380-42A0-1069-A2EA-08002B30309D}";
constexpr const wchar_t* kIEMain = L"\\Software\\Microsoft\\Internet Explorer\\Main";
constexpr const wchar_t* kInternetSettings = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const wchar_t* kFeatureControl = L"\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\";
constexpr const wchar_t* kScriptsKey = L"\\Software\\Microsoft\\Internet Explorer\\International\\Scripts\\";
constexpr const wchar_t* kRestrictions = L"\\Software\\Policies\\Microsoft\\Internet Explorer\\Restrictions";

// The "IE8"/"IE9"/"IE10" prefix of the first-run values; anything else is taken as IE8, the
// name start-up gives when it recognises neither of the others.
std::wstring FirstRunPrefix(const std::wstring& ieVersionName) {
  return ieVersionName == L"IE9" || ieVersionName == L"IE10" ? ieVersionName : std::wstring(L"IE8");
}

void AppendFirstRunSteps(const std::wstring& ieVersionName, Plan* plan) {
  const std::wstring ie = FirstRunPrefix(ieVersionName);
  for (const std::wstring& name : {std::wstring(L"RunOnceHasShown"), std::wstring(L"RunOnceComplete"),
                                   ie + L"RunOnceLastShown", ie + L"RunOncePerInstallCompleted", ie + L"TourShown"})
    plan->push_back(WriteDword(kHKCU, kIEMain, name, 1));
}

struct ScriptFonts {
  int script;
  const wchar_t* fixed;
  const wchar_t* proportional;
};

// Scripts 31, 32, 33 and 36 are left as they are.
constexpr ScriptFonts kScriptFonts[] = {
    {3, L"Courier New", L"Times New Roman"},
    {4, L"Courier New", L"Times New Roman"},
    {5, L"Courier New", L"Times New Roman"},
    {6, L"Courier New", L"Times New Roman"},
    {7, L"Sylfaen", L"Sylfaen"},
    {8, L"Miriam Fixed", L"David"},
    {9, L"Simplified Arabic Fixed", L"Simplified Arabic"},
    {10, L"Mangal", L"Mangal"},
    {11, L"Vrinda", L"Vrinda"},
    {12, L"Raavi", L"Raavi"},
    {13, L"Shruti", L"Shruti"},
    {14, L"Kalinga", L"Kalinga"},
    {15, L"Latha", L"Latha"},
    {16, L"Gautami", L"Gautami"},
    {17, L"Tunga", L"Tunga"},
    {18, L"Kartika", L"Kartika"},
    {19, L"Tahoma", L"Tahoma"},
    {20, L"DokChampa", L"DokChampa"},
    {21, L"Microsoft Himalaya", L"Microsoft Himalaya"},
    {22, L"Sylfaen", L"Sylfaen"},
    {23, L"GulimChe", L"GulimChe"},
    {24, L"MS Gothic", L"MS PGothic"},
    {25, L"MingLiu", L"PMingLiu"},
    {26, L"NSimsun", L"Simsun"},
    {27, L"Nyala", L"Nyala"},
    {28, L"Euphemia", L"Euphemia"},
    {29, L"Plantagenet Cherokee", L"Plantagenet Cherokee"},
    {30, L"Microsoft Yi Baiti", L"Microsoft Yi Baiti"},
    {34, L"Iskoola Pota", L"Iskoola Pota"},
    {35, L"Estrangelo Edessa", L"Estrangelo Edessa"},
    {37, L"DaunPenh", L"DaunPenh"},
    {38, L"MV Boli", L"MV Boli"},
    {39, L"Mongolian Baiti", L"Mongolian Baiti"},
};

Plan Plan201(std::int32_t osVersionCode) {
  if (osVersionCode == 3 || osVersionCode == 6) return {AlwaysSucceeding(Special(SpecialStep::CreateIEShortcuts))};
  return {WriteDword(kHKCU, kHideIconsClassic, kIEDesktopClsid, 1), WriteDword(kHKCU, kHideIconsNew, kIEDesktopClsid, 0)};
}

Plan Plan205(const std::wstring& ieVersionName) {
  Plan plan = {Special(SpecialStep::RequestHomePageProtection, L"", L"", L"", 0, L"ie"),
               IfPreviousFailed(WriteString(kHKCU, kIEMain, L"Start Page", kDefaultHomePage))};
  AppendFirstRunSteps(ieVersionName, &plan);
  return plan;
}

Plan Plan208() {
  Plan plan;
  for (const ScriptFonts& f : kScriptFonts) {
    std::wstring key = kScriptsKey + std::to_wstring(f.script);
    plan.push_back(WriteString(kHKCU, key, L"IEFixedFontName", f.fixed));
    plan.push_back(WriteString(kHKCU, key, L"IEPropFontName", f.proportional));
  }
  return plan;
}

// The icon counts as there when any desktop entry's name mentions Internet Explorer, or when
// the registry shows it the way Fix201 leaves it on XP and Vista.
bool Check201() {
  // GetFolderPath's index 7, CSIDL_DESKTOPDIRECTORY; asked directly, since building a whole
  // TAppFrame would look up two more folders on every scan.
  const std::wstring desktop = SpecialFolderPath(TAppFrame::FolderNumberForIndex(7));
  std::vector<std::wstring> names;
  bool found = false;
  if (!desktop.empty() && ListFolderFiles(desktop, &names, L"*.*", false)) {
    for (const auto& name : names) found = found || ContainsNoCase(name, L"INTERNET EXPLORER");
  }
  std::int32_t classic = ReadRegInteger(kHKCU, kHideIconsClassic, kIEDesktopClsid);
  std::int32_t start = ReadRegInteger(kHKCU, kHideIconsNew, kIEDesktopClsid);
  return !((classic == 1 && start == 0) || found);
}

bool Check206() {
  std::wstring debugger = ReadRegString(kHKCU, kIEMain, L"Disable Script Debugger");
  std::wstring debuggerIE = ReadRegString(kHKCU, kIEMain, L"DisableScriptDebuggerIE");
  std::wstring dialogs = ReadRegString(kHKCU, kIEMain, L"Error Dlg Displayed On Every Error");
  bool fine = EqualsNoCase(debugger, L"YES") && EqualsNoCase(debuggerIE, L"YES") &&
              (dialogs.empty() || EqualsNoCase(dialogs, L"NO"));
  return !fine;
}

bool Check210() {
  return GetRegValueState(kHKLM, kRestrictions, L"NoBrowserContextMenu") == kValuePresent ||
         GetRegValueState(kHKCU, kRestrictions, L"NoBrowserContextMenu") == kValuePresent;
}

}  // namespace

bool Plan2(int id, const FixArgs& args, Plan* plan) {
  switch (id) {
    case 201: *plan = Plan201(args.osVersionCode); return true;
    case 202:
      plan->clear();
      AppendFirstRunSteps(args.ieVersionName, plan);
      return true;
    case 203: *plan = {Run(L"/c regsvr32 /n /i /s  inetcpl.cpl")}; return true;
    case 204:
      *plan = {WriteDword(kHKLM, kInternetSettings, L"MaxConnectionsPer1_0Server", 10),
               WriteDword(kHKLM, kInternetSettings, L"MaxConnectionsPerServer", 10),
               WriteDword(kHKLM, std::wstring(kFeatureControl) + L"FEATURE_MAXCONNECTIONSPER1_0SERVER", L"iexplore.exe", 10),
               WriteDword(kHKLM, std::wstring(kFeatureControl) + L"FEATURE_MAXCONNECTIONSPERSERVER", L"iexplore.exe", 10)};
      return true;
    case 205: *plan = Plan205(args.ieVersionName); return true;
    case 206:
      *plan = {WriteString(kHKCU, kIEMain, L"Disable Script Debugger", L"yes"),
               WriteString(kHKCU, kIEMain, L"DisableScriptDebuggerIE", L"yes"),
               WriteString(kHKCU, kIEMain, L"Error Dlg Displayed On Every Error", L"no")};
      return true;
    case 207: *plan = {Run(L"/c netsh int ip reset")}; return true;
    case 208: *plan = Plan208(); return true;
    case 209: *plan = {AlwaysSucceeding(Special(SpecialStep::ResetIEToDefaults))}; return true;
    case 210:
      *plan = {DeleteValue(kHKLM, kRestrictions, L"NoBrowserContextMenu"),
               DeleteValue(kHKCU, kRestrictions, L"NoBrowserContextMenu")};
      return true;
    default: return false;
  }
}

bool Check2(int id, const FixArgs& args, bool* problem) {
  switch (id) {
    case 201: *problem = Check201(); return true;
    case 203: *problem = true; return true;
    case 206: *problem = Check206(); return true;
    case 210: *problem = Check210(); return true;
    default: return false;
  }
}

}  // namespace corrivo::groups
