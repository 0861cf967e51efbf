// Repairs 601-616: link arrows, the taskbar, Quick Launch, the Computer, user files and
// Network icons, the fonts folder, the New and Send To menus, the shell's components,
// starting programs and the Windows Installer service. 601, 604, 610 and 615 have no row and
// do nothing; their numbers stay taken.
#include "catalog/catalog.h"
#include "catalog/registry_paths.h"

namespace corrivo {
namespace {

using namespace paths;

Plan ShowDesktopIcon(const wchar_t* classId) {
  return {WriteDword(kHKCU, kHideIconsClassic, classId, 0), WriteDword(kHKCU, kHideIconsNew, classId, 0)};
}

Plan Nothing(const RepairArgs&) { return {Succeed()}; }

const wchar_t* UserFilesClassId(WindowsVersion windows) {
  return windows == WindowsVersion::XP ? L"{450d8fba-ad25-11d0-98a8-0800361b1103}"
                                       : L"{59031a47-3f72-44a7-89c5-5595fe6b30ee}";
}

const wchar_t* NetworkClassId(WindowsVersion windows) {
  return windows == WindowsVersion::XP ? L"{208D2C60-3AEA-1069-A2D7-08002B30309D}"
                                       : L"{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}";
}

// The icon shows only once the desktop redraws; the writes decide the result.
Plan UserFilesIcon(const RepairArgs& a) {
  Plan plan;
  for (Step& step : ShowDesktopIcon(UserFilesClassId(a.windows))) plan.push_back(Deciding(std::move(step)));
  plan.push_back(Special(SpecialStep::RefreshDesktop));
  return plan;
}

Plan WindowsInstaller(const RepairArgs&) {
  return {Run(L"/csc delete msiserver"),
          Run(L"/csc Create msiserver binPath= \"%SystemRoot%\\system32\\msiexec.exe /V\" start= auto "
              L"DisplayName= \"Windows Installer\""),
          Run(L"/c %SystemRoot%\\system32\\msiexec.exe /regserver")};
}

const Repair kRepairs[] = {
    {601, Category::None, 0, nullptr, RepairArgument::None, Nothing, nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {602, Category::Desktop, 6, L"Link arrows are not displayed.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteString(kHKCR, L"\\lnkfile", L"IsShortCut", L""), WriteString(kHKCR, L"\\piffile", L"IsShortCut", L"")};
     },
     nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {603, Category::Desktop, 7, L"The taskbar cannot be displayed.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {DeleteKey(kHKCU, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects"),
               DeleteKey(kHKCU, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects2")};
     },
     nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {604, Category::None, 0, nullptr, RepairArgument::None, Nothing, nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {605, Category::Desktop, 8, L"The \"Display Desktop\" function is not displayed in the Quick Launch.",
     RepairArgument::None, [](const RepairArgs&) -> Plan { return {Run(L"/c regsvr32 /s /n /i:u shell32.dll")}; },
     nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {606, Category::Desktop, 1, L"\"Computer\" icon is no longer displayed.", RepairArgument::None,
     [](const RepairArgs&) { return ShowDesktopIcon(L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}"); }, nullptr, nullptr,
     kNowhere, kNowhere, kNowhere},
    {607, Category::Desktop, 2, L"\"My Files\" icon is no longer displayed.", RepairArgument::WindowsVersion,
     UserFilesIcon, nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {608, Category::Desktop, 5, L"\"Network\" icon is no longer displayed.", RepairArgument::WindowsVersion,
     [](const RepairArgs& a) { return ShowDesktopIcon(NetworkClassId(a.windows)); }, nullptr, nullptr, kNowhere,
     kNowhere, kNowhere},
    {609, Category::System, 4, L"The font folder is not working.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteString(kHKCU,
                           L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MountPoints2\\"
                           L"{4841aa62-0165-11de-ad9f-806d6172696f}",
                           L"BaseClass", L"Drive"),
               WriteString(kHKCU, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Fonts",
                           L"%SystemRoot%\\Fonts")};
     },
     nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {610, Category::None, 0, nullptr, RepairArgument::None, Nothing, nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {611, Category::Desktop, 11, L"The \"New\" submenu in the context menu is no longer displayed.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteString(kHKCR, L"\\Directory\\Background\\shellex\\ContextMenuHandlers\\New", L"",
                           L"{D969A300-E7FF-11d0-A93B-00A0C90F2719}")};
     },
     nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {612, Category::Desktop, 12, L"The \"Send to\" submenu in the context menu does not work.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteString(kHKCR, L"\\AllFilesystemObjects\\shellex\\ContextMenuHandlers\\Send To", L"",
                           L"{7BA4C740-9E81-11CF-99D3-00AA004AE837}")};
     },
     nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {613, Category::Desktop, 13, L"The desktop and taskbar do not work.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {Run(L"/c Regsvr32.exe /s /i shdocvw.dll"), Run(L"/c Regsvr32.exe /s /i shell32.dll"),
               Run(L"/c Regsvr32.exe /s /i shdoc401.dll")};
     },
     nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {614, Category::System, 5, L"Programs (.exe files) cannot be started directly.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteString(kHKCR, L"\\exefile\\shell\\open\\command", L"", L"\"%1\" %*")};
     },
     nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {615, Category::None, 0, nullptr, RepairArgument::None, Nothing, nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {616, Category::System, 7, L"The Windows Installer service cannot be accessed.", RepairArgument::None,
     WindowsInstaller, nullptr, nullptr, kNowhere, kNowhere, kNowhere},
};

}  // namespace

std::span<const Repair> DesktopAndShellRepairs() { return kRepairs; }

}  // namespace corrivo
