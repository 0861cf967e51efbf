// Entry point of the GUI test programs. The result also goes to a file: a program started
// inside a Wine desktop does not hand its exit code back through explorer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "sysaccess/win32/win32_api.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  wchar_t path[1024] = {};
  if (GetEnvironmentVariableW(L"CORRIVO_GUI_RESULT", path, 1024) > 0) {
    std::wstring p = L"Z:";
    for (const wchar_t* c = path; *c; ++c) p += *c == L'/' ? L'\\' : *c;
    if (FILE* f = _wfopen(p.c_str(), L"w")) {
      std::fprintf(f, "%d\n", rc);
      std::fclose(f);
    }
  }
  return rc;
}
