// The smallest programs that break one rule of scripts/check-xp-imports each, and one that
// breaks none. Each build gets one of the defines below.
#include <windows.h>

#if defined(IMPORT_MSIMG32)
#include <wingdi.h>
#elif defined(IMPORT_VERSION)
#include <winver.h>
#endif

int main() {
#if defined(IMPORT_MSIMG32)
  GradientFill(nullptr, nullptr, 0, nullptr, 0, GRADIENT_FILL_RECT_V);
#elif defined(IMPORT_VERSION)
  GetFileVersionInfoSizeW(L"kernel32.dll", nullptr);
#elif defined(IMPORT_GETTICKCOUNT64)
  return GetTickCount64() == 0;
#endif
  return 0;
}
