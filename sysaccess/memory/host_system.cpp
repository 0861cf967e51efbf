// The machine on Linux builds: the in-memory registry, a recording runner, real sleeps, the
// real file system and a stand-in operating system. Commands never run here.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/memory/recording_runner.h"
#include "sysaccess/memory/stand_ins.h"
#include "sysaccess/system.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

class HostClock : public Clock {
 public:
  void SleepMs(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  std::uint64_t NowMs() override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
};

std::int64_t UnixSecondsNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

JournalPlace PlatformJournalPlace(const std::wstring& folder) {
  JournalPlace place;
  place.folder = folder;
  const char* user = std::getenv("USER");
  if (user) place.user = Utf8ToWide(user);
  place.unixSeconds = UnixSecondsNow;
  return place;
}

RegistryBackend& PlatformRegistry() {
  static MemoryRegistry registry;
  return registry;
}

System& PlatformSystem() {
  static RecordingRunner runner;
  static HostFileService files;
  static StandInOperatingSystem os;
  static RecordingShellServices shell;
  static HostClock clock;
  static System system{PlatformRegistry(), runner, files, os, shell, clock};
  return system;
}

}  // namespace corrivo
