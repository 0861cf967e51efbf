// Repairs 201-210: Internet Explorer's desktop icon, first-run wizard, Internet Options,
// connections, home page, script errors, TCP/IP, fonts, reset, context menu.
#include "catalog/catalog.h"
#include "catalog/registry_paths.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

using namespace paths;

constexpr const wchar_t* kIEDesktopClsid = L"{871C5380-42A0-1069-A2EA-08002B30309D}";
constexpr const wchar_t* kIEMain = L"\\Software\\Microsoft\\Internet Explorer\\Main";
constexpr const wchar_t* kInternetSettings = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const wchar_t* kFeatureControl = L"\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\";
constexpr const wchar_t* kScriptsKey = L"\\Software\\Microsoft\\Internet Explorer\\International\\Scripts\\";
constexpr const wchar_t* kRestrictions = L"\\Software\\Policies\\Microsoft\\Internet Explorer\\Restrictions";
// The home page 205 sets when the protection library does not take the request.
constexpr const wchar_t* kDefaultHomePage = L"about:blank";

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

// On Windows 7 and 8 the desktop has no Internet Explorer icon to show, so shortcuts are made.
Plan DesktopIcon(const RepairArgs& a) {
  if (IsSevenOrLater(a.windows)) return {AlwaysSucceeding(Special(SpecialStep::CreateIEShortcuts))};
  return {WriteDword(kHKCU, kHideIconsClassic, kIEDesktopClsid, 1), WriteDword(kHKCU, kHideIconsNew, kIEDesktopClsid, 0)};
}

Plan FirstRunWizard(const RepairArgs& a) {
  Plan plan;
  AppendFirstRunSteps(a.ieVersionName, &plan);
  return plan;
}

Plan HomePage(const RepairArgs& a) {
  Plan plan = {Special(SpecialStep::RequestHomePageProtection, kHKCU, L"", L"", 0, L"ie"),
               IfPreviousFailed(WriteString(kHKCU, kIEMain, L"Start Page", kDefaultHomePage))};
  AppendFirstRunSteps(a.ieVersionName, &plan);
  return plan;
}

Plan SourceWindowFonts(const RepairArgs&) {
  Plan plan;
  for (const ScriptFonts& f : kScriptFonts) {
    std::wstring key = kScriptsKey + std::to_wstring(f.script);
    plan.push_back(WriteString(kHKCU, key, L"IEFixedFontName", f.fixed));
    plan.push_back(WriteString(kHKCU, key, L"IEPropFontName", f.proportional));
  }
  return plan;
}

// The icon counts as there when any desktop entry's name mentions Internet Explorer, or when
// the registry shows it the way the repair leaves it on XP and Vista.
bool IEIconMissing(const CheckContext& c) {
  const std::wstring desktop = c.system.os.FolderPath(KnownFolder::DesktopDirectory);
  std::vector<std::wstring> names;
  bool found = false;
  if (!desktop.empty() && ListFolderFiles(c.system.files, desktop, &names, L"*.*", false)) {
    for (const auto& name : names) found = found || ContainsNoCase(name, L"INTERNET EXPLORER");
  }
  const std::int32_t classic = c.registry.ReadInteger(kHKCU, kHideIconsClassic, kIEDesktopClsid);
  const std::int32_t start = c.registry.ReadInteger(kHKCU, kHideIconsNew, kIEDesktopClsid);
  return !((classic == 1 && start == 0) || found);
}

bool ScriptErrorsShown(const CheckContext& c) {
  const std::wstring debugger = c.registry.ReadString(kHKCU, kIEMain, L"Disable Script Debugger");
  const std::wstring debuggerIE = c.registry.ReadString(kHKCU, kIEMain, L"DisableScriptDebuggerIE");
  const std::wstring dialogs = c.registry.ReadString(kHKCU, kIEMain, L"Error Dlg Displayed On Every Error");
  const bool fine = EqualsNoCase(debugger, L"YES") && EqualsNoCase(debuggerIE, L"YES") &&
                    (dialogs.empty() || EqualsNoCase(dialogs, L"NO"));
  return !fine;
}

bool ContextMenuRestricted(const CheckContext& c) {
  return c.registry.ValueState(kHKLM, kRestrictions, L"NoBrowserContextMenu") == kValuePresent ||
         c.registry.ValueState(kHKCU, kRestrictions, L"NoBrowserContextMenu") == kValuePresent;
}

constexpr VersionSet kNotOnSeven = {WindowsVersion::XP, WindowsVersion::Vista, WindowsVersion::Eight};

const Repair kRepairs[] = {
    {201, Category::Desktop, 4, L"\"Internet Explorer\" icon is missing from your desktop.",
     RepairArgument::WindowsVersion, DesktopIcon, IEIconMissing,
     L"Internet Explorer icon is missing from desktop. It creates an Internet Explorer icon on your desktop.",
     kNotOnSeven, kXPAndVista, kNowhere},
    {202, Category::InternetExplorer, 1,
     L"Complete or Skip the Run Once Wizard, when running Internet Explorer for the first time.",
     RepairArgument::IEVersionName, FirstRunWizard, nullptr,
     L"Complete or Skip the Run Once Wizard, when running Internet Explorer for first time.", kEvery, kNowhere,
     kNowhere},
    {203, Category::InternetExplorer, 2,
     L"Internet options are missing under Settings on the Advanced tab of the \"Internet Options\" dialog box.",
     RepairArgument::None, [](const RepairArgs&) -> Plan { return {Run(L"/c regsvr32 /n /i /s  inetcpl.cpl")}; },
     AlwaysAProblem,
     L"Internet options are missing under Settings on the Advanced tab of the \"Internet Options\" dialog box.",
     kNowhere, kEvery, kNowhere},
    {204, Category::InternetExplorer, 3,
     L"Optimize Internet Explorer maximum connection per server to download more than two files at once.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteDword(kHKLM, kInternetSettings, L"MaxConnectionsPer1_0Server", 10),
               WriteDword(kHKLM, kInternetSettings, L"MaxConnectionsPerServer", 10),
               WriteDword(kHKLM, std::wstring(kFeatureControl) + L"FEATURE_MAXCONNECTIONSPER1_0SERVER", L"iexplore.exe", 10),
               WriteDword(kHKLM, std::wstring(kFeatureControl) + L"FEATURE_MAXCONNECTIONSPERSERVER", L"iexplore.exe", 10)};
     },
     nullptr, L"Optimize Internet Explorer maximum connection per server to download more than two files at once.",
     kNowhere, kNowhere, kNowhere},
    {205, Category::InternetExplorer, 4,
     L"Unable to change homepage, Internet Explorer launches everytime MSN default homepage.",
     RepairArgument::IEVersionName, HomePage, nullptr,
     L"Unable to change home page, Internet Explorer launches everytime MSN default home page.", kEvery, kNowhere,
     kNowhere},
    {206, Category::InternetExplorer, 5, L"Fix Runtime Error Dialogs are appearing in Internet Explorer, while surfing.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteString(kHKCU, kIEMain, L"Disable Script Debugger", L"yes"),
               WriteString(kHKCU, kIEMain, L"DisableScriptDebuggerIE", L"yes"),
               WriteString(kHKCU, kIEMain, L"Error Dlg Displayed On Every Error", L"no")};
     },
     ScriptErrorsShown, L"Fix Runtime Error Dialogs are appearing in Internet Explorer, while surfing.", kEvery, kEvery,
     kNowhere},
    {207, Category::InternetExplorer, 6, L"Repair internet connection or Reset TCP/IP to default state.",
     RepairArgument::None, [](const RepairArgs&) -> Plan { return {Run(L"/c netsh int ip reset")}; }, nullptr,
     L"Repair internet connection or Reset TCP/IP to default state.", kNowhere, kNowhere, kNowhere},
    {208, Category::InternetExplorer, 7, L"Fix Blurry Text or Font Style for Source Window of Internet Explorer 8.",
     RepairArgument::None, SourceWindowFonts, nullptr,
     L"Fix Blurry Text or Font Style for Source Window of Internet Explorer 8.", kNowhere, kNowhere, kNowhere},
    {209, Category::InternetExplorer, 8, L"Reset Internet Explorer settings to default configuration.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan { return {AlwaysSucceeding(Special(SpecialStep::ResetIEToDefaults))}; }, nullptr,
     L"Reset Internet Explorer settings to default configuration.", kNowhere, kNowhere, kXPOnly},
    {210, Category::InternetExplorer, 9, L"Right Click Context Menu In Internet Explorer disabled.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {DeleteValue(kHKLM, kRestrictions, L"NoBrowserContextMenu"),
               DeleteValue(kHKCU, kRestrictions, L"NoBrowserContextMenu")};
     },
     ContextMenuRestricted, L"Right Click Context Menu In Internet Explorer disabled.", kEvery, kEvery, kNowhere},
};

}  // namespace

std::span<const Repair> InternetExplorerRepairs() { return kRepairs; }

}  // namespace corrivo
