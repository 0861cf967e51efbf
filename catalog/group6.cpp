// Repairs 601-616: the Explorer shell (shortcut arrows, taskbar, desktop icons, Fonts folder,
// context submenus, shell components, starting programs, Windows Installer).
#include "catalog/groups.h"
#include "sysaccess/platform.h"

namespace corrivo::groups {
namespace {

const std::wstring kHKCR = L"HKEY_CLASSES_ROOT";
const std::wstring kHKCU = L"HKEY_CURRENT_USER";

// A desktop icon is shown when its shell folder's value is 0 under both start menu styles.
Plan ShowDesktopIcon(const wchar_t* classId) {
  return {WriteDword(kHKCU,
                     L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\ClassicStartMenu",
                     classId, 0),
          WriteDword(kHKCU,
                     L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel",
                     classId, 0)};
}

// XP names the user's files and the network with other shell folders than Vista and later.
const wchar_t* UserFilesClassId(std::int32_t osVersionCode) {
  return osVersionCode == kOsXP ? L"{450d8fba-ad25-11d0-98a8-0800361b1103}"
                                : L"{59031a47-3f72-44a7-89c5-5595fe6b30ee}";
}

const wchar_t* NetworkClassId(std::int32_t osVersionCode) {
  return osVersionCode == kOsXP ? L"{208D2C60-3AEA-1069-A2D7-08002B30309D}"
                                : L"{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}";
}

Plan PlanTaskbar() {
  return {DeleteKey(kHKCU, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects"),
          DeleteKey(kHKCU, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects2")};
}

Plan PlanFontsFolder() {
  return {WriteString(kHKCU,
                      L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MountPoints2\\"
                      L"{4841aa62-0165-11de-ad9f-806d6172696f}",
                      L"BaseClass", L"Drive"),
          // Kept as plain text with the reference unexpanded.
          WriteString(kHKCU, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                      L"Fonts", L"%SystemRoot%\\Fonts")};
}

Plan PlanWindowsInstaller() {
  // "/csc" is the interpreter switch and the service tool run together; cmd.exe accepts it.
  return {Run(L"/csc delete msiserver"),
          Run(L"/csc Create msiserver binPath= \"%SystemRoot%\\system32\\msiexec.exe /V\" start= auto "
              L"DisplayName= \"Windows Installer\""),
          Run(L"/c %SystemRoot%\\system32\\msiexec.exe /regserver")};
}

}  // namespace

bool Plan6(int id, const FixArgs& args, Plan* plan) {
  switch (id) {
    // IDs without a row keep their place in the catalogue and change nothing.
    case 601:
    case 604:
    case 610:
    case 615: *plan = {Succeed()}; return true;
    case 602:
      *plan = {WriteString(kHKCR, L"\\lnkfile", L"IsShortCut", L""),
               WriteString(kHKCR, L"\\piffile", L"IsShortCut", L"")};
      return true;
    case 603: *plan = PlanTaskbar(); return true;
    case 605: *plan = {Run(L"/c regsvr32 /s /n /i:u shell32.dll")}; return true;
    case 606: *plan = ShowDesktopIcon(L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}"); return true;
    case 607: *plan = ShowDesktopIcon(UserFilesClassId(args.osVersionCode)); return true;
    case 608: *plan = ShowDesktopIcon(NetworkClassId(args.osVersionCode)); return true;
    case 609: *plan = PlanFontsFolder(); return true;
    case 611:
      *plan = {WriteString(kHKCR, L"\\Directory\\Background\\shellex\\ContextMenuHandlers\\New", L"",
                           L"{D969A300-E7FF-11d0-A93B-00A0C90F2719}")};
      return true;
    case 612:
      *plan = {WriteString(kHKCR, L"\\AllFilesystemObjects\\shellex\\ContextMenuHandlers\\Send To", L"",
                           L"{7BA4C740-9E81-11CF-99D3-00AA004AE837}")};
      return true;
    case 613:
      *plan = {Run(L"/c Regsvr32.exe /s /i shdocvw.dll"), Run(L"/c Regsvr32.exe /s /i shell32.dll"),
               Run(L"/c Regsvr32.exe /s /i shdoc401.dll")};
      return true;
    case 614: *plan = {WriteString(kHKCR, L"\\exefile\\shell\\open\\command", L"", L"\"%1\" %*")}; return true;
    case 616: *plan = PlanWindowsInstaller(); return true;
    default: return false;
  }
}

}  // namespace corrivo::groups
