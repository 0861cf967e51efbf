// Entry point of the GUI test programs. The result also goes to a file: a program started
// inside a Wine desktop does not hand its exit code back through explorer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/gui/gui_driver.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  const std::wstring result = corrivo::gui::PathFromEnvironment(L"CORRIVO_GUI_RESULT");
  if (FILE* f = result.empty() ? nullptr : _wfopen(result.c_str(), L"w")) {
    std::fprintf(f, "%d\n", rc);
    std::fclose(f);
  }
  return rc;
}
