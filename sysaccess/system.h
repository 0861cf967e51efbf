// Everything the catalogue and the engine reach of the machine, in one bundle that is passed
// in, never looked up: the registry, commands, files, the operating system's own answers, the
// shell and the clock. The running program uses PlatformSystem(); tests, the preview and other
// registries build their own.
#pragma once

#include "sysaccess/clock.h"
#include "sysaccess/commands.h"
#include "sysaccess/files.h"
#include "sysaccess/operating_system.h"
#include "sysaccess/registry.h"
#include "sysaccess/shell_services.h"

namespace corrivo {

struct System {
  RegistryBackend& registryBackend;
  CommandRunner& commands;
  FileService& files;
  OperatingSystem& os;
  ShellServices& shell;
  Clock& clock;

  Registry registry() const { return Registry(registryBackend); }
};

// The services of the machine this program runs on (on Linux builds: the in-memory registry,
// a recording runner and the stand-in platform). Built once; lives for the whole process.
System& PlatformSystem();

}  // namespace corrivo
