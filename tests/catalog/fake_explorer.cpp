// Test helper copied as "explorer.exe": waits the given number of seconds (default 60), exits 0.
#include <cstdlib>
#include <string>

#include "sysaccess/win32/win32_api.h"

int main(int argc, char** argv) {
  int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  Sleep(static_cast<DWORD>(seconds) * 1000);
  return 0;
}
