// The platform helpers against real Windows (Wine): command runner, process killer, folder
// listing, version detection.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "sysaccess/clock.h"
#include "sysaccess/platform.h"
#include "sysaccess/shell.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

std::wstring SleeperPath() {
  std::wstring exe = ProgramFileName();
  return exe.substr(0, exe.find_last_of(L'\\') + 1) + L"corrivo_sleeper.exe";
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitFor(const std::function<bool()>& condition, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

TEST(RunShellCommandTest, StartsCmdAndReturnsBeforeTheCommandEnds) {
  TempDir dir;
  std::wstring marker = dir.path() + L"\\done.txt";
  std::wstring params = L"/c \"\"" + SleeperPath() + L"\" 3 & echo done > \"" + marker + L"\"\"";
  DWORD start = GetTickCount();
  ASSERT_TRUE(RunShellCommand(params));
  EXPECT_LT(GetTickCount() - start, 2500u) << "the runner does not wait";
  EXPECT_FALSE(FileExists(marker)) << "the command is still sleeping";
  EXPECT_TRUE(WaitFor([&] { return FileExists(marker); }, 30000)) << "cmd.exe ran the command";
}

TEST(KillProcessByNameTest, EndsAProcessNamedInAnotherLetterCase) {
  TempDir dir;
  std::wstring copy = dir.path() + L"\\CorrivoVictim.EXE";
  ASSERT_TRUE(CopyFileW(SleeperPath().c_str(), copy.c_str(), FALSE));
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  std::wstring cmdline = L"\"" + copy + L"\" 60";
  ASSERT_TRUE(CreateProcessW(copy.c_str(), &cmdline[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 300), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(KillProcessByName(L"corrivovictim.exe"));
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 1234;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u) << "terminated with exit code 0";
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_FALSE(KillProcessByName(L"corrivovictim.exe")) << "nothing left to match";
}

TEST(ListFolderFilesRealTest, ListsDotEntriesFilesAndFolders) {
  TempDir dir;
  CloseHandle(CreateFileW((dir.path() + L"\\a.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  CreateDirectoryW((dir.path() + L"\\sub").c_str(), nullptr);
  std::vector<std::wstring> list;
  ASSERT_TRUE(ListFolderFiles(dir.path(), &list, L"*.*", false));
  std::sort(list.begin(), list.end());
  EXPECT_EQ(list, (std::vector<std::wstring>{L".", L"..", L"a.txt", L"sub"}));
  ASSERT_TRUE(ListFolderFiles(dir.path(), &list, L"*.TXT", true));
  EXPECT_EQ(list, (std::vector<std::wstring>{dir.path() + L"\\a.txt"}));
  EXPECT_FALSE(ListFolderFiles(dir.path() + L"\\none", &list, L"*.*", false));
}

TEST(FoldersRealTest, AppFrameAndStandardFolders) {
  TAppFrame frame;
  EXPECT_FALSE(frame.AppDataDir.empty());
  EXPECT_NE(frame.AppDataDir.back(), L'\\');
  EXPECT_FALSE(frame.CommonAppDataDir.empty());
  EXPECT_EQ(frame.ExeDir.back(), L'\\');
  std::wstring path;
  frame.GetFolderPath(2, path);
  EXPECT_EQ(path.back(), L'\\') << "the temporary folder ends with a backslash";
  frame.GetFolderPath(1, path);
  EXPECT_NE(path.back(), L'\\');
  EXPECT_TRUE(FileExists(path + L"\\cmd.exe"));
  std::wstring kept = L"kept";
  frame.GetFolderPath(14, kept);
  EXPECT_EQ(kept, L"kept");
}

TEST(VersionRealTest, DetectsTheVersionWineReports) {
  const char* expected = std::getenv("CORRIVO_EXPECT_OS_CODE");
  if (!expected) GTEST_SKIP() << "run through the per-version test entries";
  EXPECT_EQ(DetectOsVersionCode(), std::atoi(expected));
}

TEST(ExpandEnvironmentRealTest, ExpandsSystemRoot) {
  std::wstring expanded = ExpandEnvironmentText(L"%SystemRoot%\\system32");
  EXPECT_EQ(expanded, WindowsFolder() + L"\\system32");
  EXPECT_EQ(ExpandEnvironmentText(L"%CorrivoNoSuchName%"), L"%CorrivoNoSuchName%");
}

}  // namespace
}  // namespace corrivo::testing
