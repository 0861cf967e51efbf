// The running system's services under Wine.
#include <windows.h>

#include <cstdlib>

#include "sysaccess/system.h"
#include "tests/fakes/test_support.h"
#include "tests/sysaccess/platform_probe.h"
#include "tests/sysaccess/registry_suite.h"

namespace corrivo::testing {

OperatingSystem& OperatingSystemWithProbe() {
  SetEnvironmentVariableW(L"CorrivoProbe", L"C:\\Probe");
  return PlatformSystem().os;
}

std::shared_ptr<void> BlockReplacement(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  return std::shared_ptr<void>(file, CloseHandle);
}

namespace {

struct RealUnderTest {
  RegistryBackend& backend() { return PlatformSystem().registryBackend; }
  std::wstring base() const { return L"\\Software\\CorrivoTest\\" + std::to_wstring(GetCurrentProcessId()); }
};
INSTANTIATE_TYPED_TEST_SUITE_P(Real, RegistryContractTest, RealUnderTest);

TEST(RealOperatingSystemTest, NamesItsFoldersWithoutTrailingBackslash) {
  OperatingSystem& os = PlatformSystem().os;
  EXPECT_TRUE(PlatformSystem().files.FileExists(os.SystemFolder() + L"\\cmd.exe"));
  for (KnownFolder folder : {KnownFolder::DesktopDirectory, KnownFolder::ProgramFiles, KnownFolder::AppData,
                             KnownFolder::LocalAppData, KnownFolder::CommonAppData}) {
    const std::wstring path = os.FolderPath(folder);
    EXPECT_TRUE(!path.empty() && path.back() != L'\\') << static_cast<int>(folder) << " " << Narrow(path);
  }
  EXPECT_EQ(ProgramFolder(os).back(), L'\\');
}

TEST(VersionRealTest, DetectsTheVersionWineReports) {
  const char* expected = std::getenv("CORRIVO_EXPECT_WINDOWS_VERSION");
  if (!expected) GTEST_SKIP() << "run through the per-version test entries";
  EXPECT_EQ(VersionCode(DetectWindowsVersion(PlatformSystem().os)), std::atoi(expected));
}

TEST(RealShellServicesTest, EndsProcessesByTheirWholeNameInAnyLetterCase) {
  TempDir dir;
  const std::wstring copy = dir.path() + L"\\CorrivoVictim.EXE";
  ASSERT_TRUE(CopyFileW((ProgramFolder(PlatformSystem().os) + L"corrivo_sleeper.exe").c_str(), copy.c_str(), FALSE));
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  std::wstring line = L"\"" + copy + L"\" 60";
  ASSERT_TRUE(CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 300), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_FALSE(PlatformSystem().shell.KillProcessesByName(L"Victim.exe")) << "only the end of its name";
  EXPECT_TRUE(PlatformSystem().shell.KillProcessesByName(L"corrivovictim.exe"));
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_FALSE(PlatformSystem().shell.KillProcessesByName(L"corrivovictim.exe")) << "nothing left to match";
}

}  // namespace
}  // namespace corrivo::testing
