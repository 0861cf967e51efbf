#include "tests/fakes/test_support.h"

#include <atomic>
#include <filesystem>
#include <random>

#include "sysaccess/text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace corrivo::testing {

std::string Narrow(const std::wstring& text) { return WideToUtf8(text); }

TestSystem::TestSystem() {
  os.SetWindowsFolder(L"C:\\Windows");
  os.SetSystemFolder(L"C:\\Windows\\system32");
  os.SetTempFolder(L"C:\\Temp\\");
  os.SetProgramFile(L"C:\\Tools\\Corrivo.exe");
  os.SetFolder(KnownFolder::ProgramFiles, L"C:\\Program Files");
  os.SetFolder(KnownFolder::AppData, L"C:\\Users\\Ann\\AppData\\Roaming");
  os.SetFolder(KnownFolder::LocalAppData, L"C:\\Users\\Ann\\AppData\\Local");
  os.SetFolder(KnownFolder::DesktopDirectory, L"C:\\Users\\Ann\\Desktop");
  os.SetEnvironment(L"SystemRoot", L"C:\\Windows");
  os.SetEnvironment(L"windir", L"C:\\Windows");
}

#ifdef _WIN32
unsigned long RunAndWait(std::wstring commandLine) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0xFFFFFFFF;
  WaitForSingleObject(pi.hProcess, 120000);
  DWORD code = 0xFFFFFFFF;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}
#endif

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  auto base = std::filesystem::temp_directory_path() /
              ("corrivo-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(base);
#ifdef _WIN32
  path_ = base.wstring();
#else
  path_ = Utf8ToWide(base.string());
#endif
}

TempDir::~TempDir() {
  std::error_code ec;
#ifdef _WIN32
  std::filesystem::remove_all(std::filesystem::path(path_), ec);
#else
  std::filesystem::remove_all(std::filesystem::path(WideToUtf8(path_)), ec);
#endif
}

}  // namespace corrivo::testing
