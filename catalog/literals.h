// Root names and key paths that more than one group writes.
#pragma once

namespace corrivo::literals {

constexpr const wchar_t* kHKCR = L"HKEY_CLASSES_ROOT";
constexpr const wchar_t* kHKCU = L"HKEY_CURRENT_USER";
constexpr const wchar_t* kHKLM = L"HKEY_LOCAL_MACHINE";

// Under HKEY_CURRENT_USER: a desktop icon is shown when its class identifier has 0 here.
constexpr const wchar_t* kHideIconsClassic =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\ClassicStartMenu";
constexpr const wchar_t* kHideIconsNew =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";

}  // namespace corrivo::literals
