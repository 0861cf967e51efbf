// Stand-ins for the home-page protection component, built only for the Wine tests. One source,
// four builds: PAGELOCK_REPLY is the text the export answers to a well-formed request,
// PAGELOCK_RESULT its Boolean, and PAGELOCK_NO_FUNC leaves the export out altogether. A
// request that is not formed exactly as the program promises is answered "bad".
#include <string>

#include "sysaccess/win32/win32_api.h"

#ifndef PAGELOCK_NO_FUNC

namespace {

bool WellFormed(const wchar_t* target, const wchar_t* request, DWORD requestBytes, const void* reply,
                const DWORD* replySize) {
  if (!target || !request || !reply || !replySize) return false;
  if (lstrcmpW(target, L"{5E1A7C2D-93B4-4F60-A8D1-2C7E0B94F35A}/Warden") != 0) return false;
  DWORD session = 0;
  if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) return false;
  wchar_t expected[64];
  wsprintfW(expected, L":QV4_SetProtect:%lu|ie", static_cast<unsigned long>(session));
  if (lstrcmpW(request, expected) != 0) return false;
  if (requestBytes != static_cast<DWORD>(lstrlenW(request) + 1) * 2) return false;
  if (*replySize != 1024) return false;
  const BYTE* bytes = static_cast<const BYTE*>(reply);
  for (int i = 0; i < 2050; ++i)
    if (bytes[i] != 0) return false;
  return true;
}

}  // namespace

extern "C" __declspec(dllexport) BOOLEAN WINAPI Func(const wchar_t* target, const wchar_t* request, DWORD requestBytes,
                                                     void* reply, DWORD* replySize) {
  const wchar_t* answer = WellFormed(target, request, requestBytes, reply, replySize) ? PAGELOCK_REPLY : L"bad";
  lstrcpyW(static_cast<wchar_t*>(reply), answer);
  return PAGELOCK_RESULT;
}

#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
