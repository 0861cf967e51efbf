// Root shorthands, key paths and plan pieces that more than one group of repairs uses.
#pragma once

#include "catalog/repair.h"
#include "sysaccess/registry_backend.h"
#include "sysaccess/windows_version.h"

namespace corrivo::paths {

constexpr RegRoot kHKCR = RegRoot::ClassesRoot;
constexpr RegRoot kHKCU = RegRoot::CurrentUser;
constexpr RegRoot kHKLM = RegRoot::LocalMachine;

// Under HKEY_CURRENT_USER: a desktop icon is shown when its class identifier has 0 here.
constexpr const wchar_t* kHideIconsClassic =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\ClassicStartMenu";
constexpr const wchar_t* kHideIconsNew =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";

// The Sidebar's components, registered by 106 (the Sidebar) and 502 (its gadgets).
inline Plan SidebarRegistration(const RepairArgs&) {
  return {Run(L"/c Regsvr32 /s atl.dll"), Run(L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\sbdrop.dll\""),
          Run(L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\wlsrvc.dll\"")};
}

// Version sets the records use again and again.
constexpr VersionSet kEvery = VersionSet::All();
constexpr VersionSet kNowhere = {};
constexpr VersionSet kAfterXP = {WindowsVersion::Vista, WindowsVersion::Seven, WindowsVersion::Eight};
constexpr VersionSet kSevenAndEight = {WindowsVersion::Seven, WindowsVersion::Eight};
constexpr VersionSet kXPOnly = {WindowsVersion::XP};
constexpr VersionSet kXPAndVista = {WindowsVersion::XP, WindowsVersion::Vista};

}  // namespace corrivo::paths
