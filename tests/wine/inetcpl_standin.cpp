// A stand-in for the Internet Options module, for the Wine tests: Wine's own ResetIEtoDefaults
// ends the calling process. This one leaves a mark in the registry that it was called, and
// with which owner window.
#include <string>

#include "sysaccess/win32/win32_api.h"

extern "C" __declspec(dllexport) void WINAPI ResetIEtoDefaults(HWND owner) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\CorrivoTest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  DWORD calls = 0, size = sizeof calls, type = 0;
  RegQueryValueExW(key, L"ResetCalls", nullptr, &type, reinterpret_cast<BYTE*>(&calls), &size);
  ++calls;
  RegSetValueExW(key, L"ResetCalls", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&calls), sizeof calls);
  DWORD nullOwner = owner == nullptr ? 1 : 0;
  RegSetValueExW(key, L"ResetNullOwner", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nullOwner), sizeof nullOwner);
  RegCloseKey(key);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// Lets a test tell this stand-in from the system's own module before calling anything.
extern "C" __declspec(dllexport) int WINAPI CorrivoStandIn() { return 1; }
