// Shared test fixtures: a whole System over an in-memory registry, a recording runner, files in
// memory, a stand-in operating system, recording shell services and a virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/memory/recording_runner.h"
#include "sysaccess/memory/stand_ins.h"
#include "sysaccess/memory/virtual_clock.h"
#include "sysaccess/system.h"

namespace corrivo::testing {

// Everything a repair or the engine can reach, in memory. The Windows folder is "C:\Windows",
// the system folder "C:\Windows\system32", the program "C:\Tools\Corrivo.exe".
struct TestSystem {
  TestSystem();
  MemoryRegistry registry;
  RecordingRunner runner;
  MemoryFileService files;
  StandInOperatingSystem os;
  RecordingShellServices shell;
  VirtualClock clock;
  System system{registry, runner, files, os, shell, clock};
};

class MemorySystemTest : public ::testing::Test {
 protected:
  TestSystem machine;
  MemoryRegistry& registry = machine.registry;
  RecordingRunner& runner = machine.runner;
  VirtualClock& clock = machine.clock;
  System& system = machine.system;
};

// Narrow text for gtest messages.
std::string Narrow(const std::wstring& text);

#ifdef _WIN32
// Runs a command line and waits for it to end (two minutes at most); its exit code, or
// 0xFFFFFFFF when it could not be started.
unsigned long RunAndWait(std::wstring commandLine);
#endif

// A folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::wstring& path() const { return path_; }  // ends without a separator
 private:
  std::wstring path_;
};

}  // namespace corrivo::testing
