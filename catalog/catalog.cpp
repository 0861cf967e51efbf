// The catalogue table, and the dispatch from an ID to its group's plan and check.
#include "catalog/catalog.h"

#include <algorithm>
#include <array>

#include "catalog/executor.h"
#include "catalog/groups.h"

namespace corrivo {
namespace {

const std::vector<CatalogEntry> kCatalog = {
    {101, FixTab::Desktop, 3, L"\"Recycle Bin\" icon is no longer displayed."},
    {102, FixTab::System, 1, L"Resets or fixes folders view settings to default, when folders are showing different command bar and controls than content."},
    {103, FixTab::System, 2, L"Games Explorer is not working or unable to open Games Explorer folder."},
    {104, FixTab::System, 3, L"Enable Folder Options. Fixes when Folder Options is missing from Tools menu and Control Panel."},
    {105, FixTab::Desktop, 9, L"Fix \"Show Hidden Files, Folders and Drives\". Some malware modifies the Windows settings to disable or prevent users from changing Show Hidden Files and Folders under Folder Options."},
    {106, FixTab::System, 6, L"Restore the Windows Sidebar. Fixes when you try to run the program to start it, Windows Sidebar does not appear on desktop."},
    {107, FixTab::Desktop, 10, L"Fixes Recycle Bin icon, if it doesn't refresh automatically."},
    {108, FixTab::System, 8, L"Explorer.exe won't start at boot in Windows."},
    {109, FixTab::System, 9, L"CD drive or DVD drive is missing or is not recognized by Windows or other programs."},
    {110, FixTab::System, 10, L"Thumbnails are not working in Windows Explorer."},
    {201, FixTab::Desktop, 4, L"\"Internet Explorer\" icon is missing from your desktop."},
    {202, FixTab::IE, 1, L"Complete or Skip the Run Once Wizard, when running Internet Explorer for the first time."},
    {203, FixTab::IE, 2, L"Internet options are missing under Settings on the Advanced tab of the \"Internet Options\" dialog box."},
    {204, FixTab::IE, 3, L"Optimize Internet Explorer maximum connection per server to download more than two files at once."},
    {205, FixTab::IE, 4, L"Unable to change homepage, Internet Explorer launches everytime MSN default homepage."},
    {206, FixTab::IE, 5, L"Fix Runtime Error Dialogs are appearing in Internet Explorer, while surfing."},
    {207, FixTab::IE, 6, L"Repair internet connection or Reset TCP/IP to default state."},
    {208, FixTab::IE, 7, L"Fix Blurry Text or Font Style for Source Window of Internet Explorer 8."},
    {209, FixTab::IE, 8, L"Reset Internet Explorer settings to default configuration."},
    {210, FixTab::IE, 9, L"Right Click Context Menu In Internet Explorer disabled."},
    {301, FixTab::MediaPlayer, 1, L"Windows Media Player does not start and an error message appears \"An internal application error has occurred\"."},
    {302, FixTab::MediaPlayer, 2, L"Windows Media Player stops responding after you install a third-party product that registers its own version of the Wmp.dll file."},
    {303, FixTab::MediaPlayer, 3, L"Windows Media Player does not show slideshow correctly."},
    {304, FixTab::MediaPlayer, 4, L"Media files associated with Windows Media Player are missing right cilck Context menu."},
    {305, FixTab::MediaPlayer, 5, L"Windows Media Player Compositing Mixer is not working properly."},
    {306, FixTab::MediaPlayer, 6, L"Windows Media Player is not installed properly and must be reinstalled. Do you want to install the Player from Microsoft's website?"},
    {307, FixTab::MediaPlayer, 7, L"Reset Windows Media Library and fix library sync issues."},
    {308, FixTab::MediaPlayer, 8, L"Automatic Updates are not working for Windows Media Player."},
    {309, FixTab::MediaPlayer, 9, L"Flush and rebuild Windows Media Center database."},
    {310, FixTab::MediaPlayer, 10, L"Fix Windows Media player doesn't show flash content while visiting Online Stores or Media Guide."},
    {401, FixTab::Security, 1, L"Enable Task Manager. When you try to open or run Task Manager (Taskmgr.exe), the following error may occur: \"Task Manager has been disabled by your administrator\"."},
    {402, FixTab::Security, 2, L"Enable Command Prompt. When you run cmd.exe or batch files, you may get message \"The command prompt has been disabled by your administrator\"."},
    {403, FixTab::Security, 3, L"Enable Registry Editor. An error message is displayed when you start the Registry Editer (regedit.exe) \"Registry Editing has been disabled by your administrator\"."},
    {404, FixTab::Security, 4, L"Enable MMC Snap-ins. Some viruses disable users to run MMC Snap-ins, which prevents to run Group Policy (gpedit.msc), Local Security Policy, Disk Management, etc."},
    {405, FixTab::Security, 5, L"Reset Windows Search to Defaults. When searching in Windows you may get a message: \"Search Failed to Initialize.\""},
    {406, FixTab::Security, 6, L"Reset System Restore to Defaults. When create restore a point, you may get a message: \"System Restore has been turned off by group policy. To turn on System Restore, contact your domain Administrator.\""},
    {407, FixTab::Security, 7, L"Device Manager is not working properly and not showing any devices."},
    {408, FixTab::Security, 8, L"Repair Windows Defender. It fixes all the Registry settings and service of Windows Defender to defaults."},
    {409, FixTab::Security, 9, L"Action Center and Windows Security Center no longer recognizes Anti-Virus and Firewall or still identifies old security software as installed."},
    {410, FixTab::Security, 10, L"Fix 'Turn Windows Features On or Off ' dialog box is blank or empty."},
    {501, FixTab::Additional, 1, L"Enable Hibernate and Hybrid Sleep feature. Fixes Hibernate is missing from Shutdown button."},
    {502, FixTab::Additional, 2, L"Restore the Windows Sidebar Gadgets. Sidebar Gadgets is missing from Gadget panel."},
    {503, FixTab::Additional, 3, L"Restore the Sticky Notes delete warning dialog box."},
    {504, FixTab::Additional, 4, L"When you open Windows Update website, you get a blank Windows Update page."},
    {505, FixTab::Additional, 5, L"Unable to open Help files that require the Windows Help (WinHlp32.exe) program on Windows Vista and Windows 7."},
    {506, FixTab::Additional, 6, L"Fix Corrupted Desktop Icons. Clear and rebuild corrupted icon cache and increase maximum icon cache limit up to 2000."},
    {507, FixTab::Additional, 7, L"Taskbar JumpList is missing or doesn't store MRU file list."},
    {508, FixTab::Additional, 8, L"Aero Snap is not working."},
    {509, FixTab::Additional, 9, L"Aero Shake is not working."},
    {510, FixTab::Additional, 10, L"Aero Peek is not working."},
    {601, FixTab::None, 0, nullptr},
    {602, FixTab::Desktop, 6, L"Link arrows are not displayed."},
    {603, FixTab::Desktop, 7, L"The taskbar cannot be displayed."},
    {604, FixTab::None, 0, nullptr},
    {605, FixTab::Desktop, 8, L"The \"Display Desktop\" function is not displayed in the Quick Launch."},
    {606, FixTab::Desktop, 1, L"\"Computer\" icon is no longer displayed."},
    {607, FixTab::Desktop, 2, L"\"My Files\" icon is no longer displayed."},
    {608, FixTab::Desktop, 5, L"\"Network\" icon is no longer displayed."},
    {609, FixTab::System, 4, L"The font folder is not working."},
    {610, FixTab::None, 0, nullptr},
    {611, FixTab::Desktop, 11, L"The \"New\" submenu in the context menu is no longer displayed."},
    {612, FixTab::Desktop, 12, L"The \"Send to\" submenu in the context menu does not work."},
    {613, FixTab::Desktop, 13, L"The desktop and taskbar do not work."},
    {614, FixTab::System, 5, L"Programs (.exe files) cannot be started directly."},
    {615, FixTab::None, 0, nullptr},
    {616, FixTab::System, 7, L"The Windows Installer service cannot be accessed."},
    {701, FixTab::Security, 11, L"Restore the hosts file to its default status."},
    {702, FixTab::Security, 12, L"Restore the system file association to its default status."},
};

// The IDs whose group gives a check; the scan treats every other item as never a problem.
constexpr std::array<int, 33> kCheckIds = {
    101, 102, 103, 104, 105, 106, 107, 108, 109, 110,  //
    201, 203, 206, 210,                                //
    301, 302, 303, 304, 305, 307, 308,                 //
    401, 402, 403, 404, 406, 407, 410,                 //
    502, 503, 508, 509, 510,
};

bool PlanOfGroup(int id, const FixArgs& args, Plan* plan) {
  switch (id / 100) {
    case 1: return groups::Plan1(id, args, plan);
    case 2: return groups::Plan2(id, args, plan);
    case 3: return groups::Plan3(id, args, plan);
    case 4: return groups::Plan4(id, args, plan);
    case 5: return groups::Plan5(id, args, plan);
    case 6: return groups::Plan6(id, args, plan);
    case 7: return groups::Plan7(id, args, plan);
    default: return false;
  }
}

bool CheckOfGroup(int id, const FixArgs& args, bool* problem) {
  switch (id / 100) {
    case 1: return groups::Check1(id, args, problem);
    case 2: return groups::Check2(id, args, problem);
    case 3: return groups::Check3(id, args, problem);
    case 4: return groups::Check4(id, args, problem);
    case 5: return groups::Check5(id, args, problem);
    default: return false;
  }
}

}  // namespace

const std::vector<CatalogEntry>& Catalog() { return kCatalog; }

const CatalogEntry* FindCatalogEntry(int id) {
  auto it = std::lower_bound(kCatalog.begin(), kCatalog.end(), id,
                             [](const CatalogEntry& e, int v) { return e.id < v; });
  return it != kCatalog.end() && it->id == id ? &*it : nullptr;
}

bool IsCatalogId(int id) { return FindCatalogEntry(id) != nullptr; }

std::vector<CatalogEntry> TabRows(FixTab tab) {
  std::vector<CatalogEntry> rows;
  if (tab == FixTab::None) return rows;
  for (const auto& e : kCatalog)
    if (e.tab == tab) rows.push_back(e);
  std::sort(rows.begin(), rows.end(), [](const CatalogEntry& a, const CatalogEntry& b) { return a.row < b.row; });
  return rows;
}

const wchar_t* TabCaption(FixTab tab) {
  switch (tab) {
    case FixTab::Desktop: return L"Desktop";
    case FixTab::System: return L"System";
    case FixTab::IE: return L"IE";
    case FixTab::MediaPlayer: return L"Media Player";
    case FixTab::Security: return L"Security";
    case FixTab::Additional: return L"Additional";
    case FixTab::None: break;
  }
  return L"";
}

FixArgument FixArgumentOf(int id) {
  switch (id) {
    case 107: case 201: case 302: case 407: case 408: case 607: case 608: case 701: case 702:
      return FixArgument::OsVersionCode;
    case 202: case 205:
      return FixArgument::IEVersionName;
    case 304: case 505:
      return FixArgument::FalseFlag;
    default:
      return FixArgument::None;
  }
}

FixArgument CheckArgumentOf(int id) {
  return id == 107 || id == 302 || id == 407 ? FixArgument::OsVersionCode : FixArgument::None;
}

Plan PlanFor(int id, const FixArgs& args) {
  Plan plan;
  if (!IsCatalogId(id) || !PlanOfGroup(id, args, &plan)) plan.clear();
  return plan;
}

bool RunFix(int id, const FixArgs& args) {
  if (!IsCatalogId(id)) return false;
  return ExecutePlan(PlanFor(id, args));
}

bool HasCheck(int id) { return std::find(kCheckIds.begin(), kCheckIds.end(), id) != kCheckIds.end(); }

bool RunCheck(int id, const FixArgs& args) {
  if (!HasCheck(id)) return false;
  bool problem = false;
  return CheckOfGroup(id, args, &problem) && problem;
}

}  // namespace corrivo
