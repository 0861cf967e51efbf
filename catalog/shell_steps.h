// The named steps that are more than one registry or command call: the Internet Explorer
// shortcuts (201), the home-page protection request (205), the Internet Options reset (209),
// the shell-state patch and the Explorer kill (503), the hosts file (701) and the desktop's
// refresh (607). Their order, texts and failure rules live here; the few Windows calls they
// need come from the system's shell services.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/plan.h"
#include "sysaccess/system.h"

namespace corrivo {

constexpr const wchar_t* kIEShortcutDescription = L"Micsoft Internet Explorer";
// The file name part of the shortcut (no final r, as the product has always named it).
constexpr const wchar_t* kIEShortcutName = L"Internet Explore";
constexpr const wchar_t* kShellFoldersKey = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

constexpr const wchar_t* kHomePageLibraryName = L"pagelock.dll";
constexpr const wchar_t* kHomePageTarget = L"{5E1A7C2D-93B4-4F60-A8D1-2C7E0B94F35A}/Warden";
constexpr std::size_t kHomePageReplyBytes = 2050;
constexpr std::uint32_t kHomePageReplySize = 1024;

constexpr const wchar_t* kInetcplName = L"inetcpl.cpl";

// The request text ":QV4_SetProtect:<session>|<browser tag>".
std::wstring HomePageProtectionRequest(std::uint32_t sessionId, const std::wstring& browserTag);

// 201 on Windows 7 and 8: saves the link to the "Desktop" and the "Start Menu" folder; always true.
bool CreateIEShortcuts(System& system);
// 205: true only when the component beside the program accepted the request.
bool RequestHomePageProtection(System& system, const std::wstring& browserTag);
// 209: always true.
bool ResetIEToDefaults(System& system);

// Runs a StepKind::Special step and answers its own result.
bool RunSpecialStep(System& system, const Step& step);

}  // namespace corrivo
