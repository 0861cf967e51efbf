// Everything the catalogue and the engine reach of the machine, in one bundle that is passed
// in, never looked up: the registry, commands, files, the operating system's own answers, the
// shell and the clock. The running program uses PlatformSystem(); tests, the preview and other
// registries build their own.
#pragma once

#include <cstdint>
#include <string>

#include "sysaccess/clock.h"
#include "sysaccess/commands.h"
#include "sysaccess/files.h"
#include "sysaccess/operating_system.h"
#include "sysaccess/registry.h"
#include "sysaccess/shell_services.h"

namespace corrivo {

// Where and as whom repairs keep their undo journal (catalog/journal.h).
struct JournalPlace {
  std::wstring folder;  // no trailing separator
  std::wstring user;    // named in each entry's header
  // Seconds since 1970-01-01 UTC, for entry names and headers; null counts as 0.
  std::int64_t (*unixSeconds)() = nullptr;
};

struct System {
  RegistryBackend& registryBackend;
  CommandRunner& commands;
  FileService& files;
  OperatingSystem& os;
  ShellServices& shell;
  Clock& clock;
  // When set, every repair first saves what it will change there, and does not run when it
  // cannot (RunRepair); null: no journal.
  const JournalPlace* journal = nullptr;

  Registry registry() const { return Registry(registryBackend); }
};

// The services of the machine this program runs on (on Linux builds: the in-memory registry,
// a recording runner and the stand-in platform). Built once; lives for the whole process.
System& PlatformSystem();

// The journal place of the user running this program: `folder` (the product passes
// <local application data>\Corrivo\Journal), the account's name and the system's clock.
JournalPlace PlatformJournalPlace(const std::wstring& folder);

}  // namespace corrivo
