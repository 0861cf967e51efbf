// Corrivo.com, the console twin of Corrivo.exe: cmd.exe finds a .com before an .exe of the
// same name, so typing "corrivo" at a prompt runs this program, which writes to the console
// and ends with an exit code, while a double-click on Corrivo.exe still opens the window.
#include <string>
#include <vector>

#include "catalog/journal.h"
#include "console/command_line.h"
#include "console/win32/console_win32.h"
#include "sysaccess/system.h"
#include "sysaccess/win32/win32_api.h"

int wmain(int argc, wchar_t** argv) {
  // Never load a DLL from the current folder: the program runs elevated, often from a
  // Downloads folder someone else could write to.
  SetDllDirectoryW(L"");
  try {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    corrivo::console::StdHandleSink out(STD_OUTPUT_HANDLE), err(STD_ERROR_HANDLE);
    corrivo::System& system = corrivo::PlatformSystem();
    const corrivo::JournalPlace journal = corrivo::PlatformJournalPlace(corrivo::DefaultJournalFolder(system.os));
    corrivo::console::CommandLineContext context{system, true, corrivo::console::IsAdministrator(), out, err, &journal};
    return corrivo::console::RunCommandLine(args, context);
  } catch (...) {
    // Whatever failed before RunCommandLine took over; the unwinder must not go on into the
    // C runtime's start-up code.
    return corrivo::console::kExitProblems;
  }
}
