// The names under which the running program is found by a second copy, the shell and test
// drivers, and the message one copy sends the other. Changing any of them breaks that contract.
#pragma once

#include "sysaccess/win32/win32_api.h"

namespace corrivo::app {

inline constexpr wchar_t kInstanceMutexName[] = L"_Tarsio_Fix_Windows_";
inline constexpr wchar_t kMainWindowClass[] = L"TFixWindows_FormMain";
inline constexpr wchar_t kMainIconName[] = L"MAINICON";
// What the taskbar and the task switcher show; the window's own caption is longer.
inline constexpr wchar_t kApplicationTitle[] = L"Corrivo";
inline constexpr wchar_t kTaskbarWindowClass[] = L"CorrivoApplication";

// Sent by a second copy to the running one: come to the front.
constexpr UINT kShowYourselfMessage = WM_USER + 156;
// How long a second copy waits for that answer before it leaves anyway.
constexpr UINT kHandOverTimeoutMs = 5000;

}  // namespace corrivo::app
