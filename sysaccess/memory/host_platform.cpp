// The platform on Linux builds: the in-memory registry, a recording runner, real sleeps and
// the real file system, with folders and the Windows version set by tests.
#include "sysaccess/memory/host_platform.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "sysaccess/clock.h"
#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/memory/recording_runner.h"
#include "sysaccess/platform.h"
#include "sysaccess/platform_primitives.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

struct HostState {
  std::mutex mutex;
  std::map<int, std::wstring> folders;
  std::wstring programFileName;
  std::uint32_t major = 6, minor = 1, productType = 1;
};

HostState& State() {
  static HostState state;
  return state;
}

std::wstring Folder(int number) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  auto it = s.folders.find(number);
  return it == s.folders.end() ? std::wstring() : it->second;
}

class HostClock : public Clock {
 public:
  void SleepMs(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  std::uint64_t NowMs() override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
};

class HostProcessControl : public ProcessControl {
 public:
  bool KillByName(const std::wstring&) override { return false; }
};

std::filesystem::path ToPath(const std::wstring& folder) {
  std::string utf8 = WideToUtf8(folder);
  return std::filesystem::path(utf8);
}

}  // namespace

namespace host {
void SetFolder(int number, const std::wstring& path) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.folders[number] = path;
}
void SetProgramFileName(const std::wstring& path) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.programFileName = path;
}
void SetOsVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t productType) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.major = major;
  s.minor = minor;
  s.productType = productType;
}
}  // namespace host

RegistryBackend& PlatformRegistry() {
  static MemoryRegistry registry;
  return registry;
}

CommandRunner& PlatformRunner() {
  static RecordingRunner runner;
  return runner;
}

Clock& SystemClock() {
  static HostClock clock;
  return clock;
}

ProcessControl& PlatformProcessControl() {
  static HostProcessControl control;
  return control;
}

bool SwitchWow64FsRedirection(bool, Wow64RedirectionState*) { return false; }

std::wstring SpecialFolderPath(int csidl) { return Folder(csidl); }
std::wstring WindowsFolder() { return Folder(-2); }
std::wstring SystemFolder() { return Folder(-3); }
std::wstring TempFolder() { return Folder(-4); }
std::wstring ProgramFileName() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.programFileName;
}

namespace primitives {

bool QueryOsVersion(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* productType) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  *major = s.major;
  *minor = s.minor;
  *productType = s.productType;
  return true;
}

bool FolderExists(const std::wstring& folder) {
  std::error_code ec;
  return !folder.empty() && std::filesystem::is_directory(ToPath(folder), ec);
}

bool EnumerateFolder(const std::wstring& folder, std::vector<std::wstring>* names) {
  std::error_code ec;
  std::filesystem::directory_iterator it(ToPath(folder), ec);
  if (ec) return false;
  names->push_back(L".");
  names->push_back(L"..");
  for (const auto& entry : it) names->push_back(Utf8ToWide(entry.path().filename().string()));
  return true;
}

}  // namespace primitives
}  // namespace corrivo
