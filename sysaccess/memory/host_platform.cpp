// The platform on Linux builds: the in-memory registry, a recording runner, real sleeps and
// the real file system, with folders and the Windows version set by tests.
#include "sysaccess/memory/host_platform.h"

#include <chrono>
#include <cstdlib>
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
  std::map<std::wstring, std::wstring> environment;  // by lower-case name
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

// Windows spellings of test folders ("/tmp/x\\sub\\") become Unix paths.
std::filesystem::path ToPath(const std::wstring& folder) {
  std::string utf8 = WideToUtf8(folder);
  for (auto& ch : utf8)
    if (ch == '\\') ch = '/';
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
void SetEnvironment(const std::wstring& name, const std::wstring& value) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.environment[ToLower(name)] = value;
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

std::wstring ExpandEnvironmentText(const std::wstring& text, std::size_t capacity) {
  std::wstring out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t open = text.find(L'%', i);
    std::size_t close = open == std::wstring::npos ? std::wstring::npos : text.find(L'%', open + 1);
    if (close == std::wstring::npos) {
      out += text.substr(i);
      break;
    }
    out += text.substr(i, open - i);
    std::wstring name = text.substr(open + 1, close - open - 1);
    std::wstring value;
    bool known = false;
    {
      auto& s = State();
      std::lock_guard<std::mutex> lock(s.mutex);
      auto it = s.environment.find(ToLower(name));
      if (it != s.environment.end()) {
        value = it->second;
        known = true;
      }
    }
    if (!known && !name.empty()) {
      if (const char* env = std::getenv(WideToUtf8(name).c_str())) {
        value = Utf8ToWide(env);
        known = true;
      }
    }
    if (known) {
      out += value;
      i = close + 1;
    } else {
      // An unknown name stays as written; its closing % may open the next reference.
      out += text.substr(open, close - open);
      i = close;
    }
  }
  if (out.size() + 1 > capacity) return std::wstring();
  return out;
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
