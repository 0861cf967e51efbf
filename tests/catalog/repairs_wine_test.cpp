// Repairs 701 and 503 on the real system under Wine: the prefix's hosts file with the real
// command interpreter, and the shell state in the real registry with a running "explorer.exe".
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "catalog/catalog.h"
#include "catalog/hosts_file.h"
#include "sysaccess/memory/virtual_clock.h"
#include "sysaccess/platform.h"
#include "sysaccess/win32/win32_api.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::string kV4 = "127.0.0.1       localhost\r\n";
const std::string kV6 = "::1       localhost\r\n";

bool WaitFor(const std::function<bool()>& condition, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

std::wstring HostsPath() { return ExpandEnvironmentText(kHostsFileTemplate); }

DWORD Attributes() { return GetFileAttributesW(HostsPath().c_str()); }

void WriteHosts(const std::string& bytes) {
  SetFileAttributesW(HostsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileW(HostsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

std::string ReadHosts() {
  HANDLE file = CreateFileW(HostsPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

// The repair's last command sets the system attribute on its own time; wait for it so that
// the next case does not race it.
void WaitForSystemAttribute() {
  EXPECT_TRUE(WaitFor([] { DWORD a = Attributes(); return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_SYSTEM); },
                      15000))
      << "attrib +s did not take effect";
}

std::vector<std::wstring> EtcEntries() {
  std::vector<std::wstring> names;
  ListFolderFiles(HostsPath().substr(0, HostsPath().rfind(L'\\')), &names, L"*.*", false);
  return names;
}

TEST(HostsFileWineTest, PathIsInTheWindowsFolder) {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(lstrcmpiW(HostsPath().c_str(), (std::wstring(windows) + L"\\system32\\drivers\\etc\\hosts").c_str()), 0)
      << Narrow(HostsPath());
}

TEST(HostsFileWineTest, RewritesByContentAndVersion) {
  std::string utf16("\xFF\xFE", 2);
  for (char c : std::string("# wide\r\n\r\n10.0.0.1 a\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  struct Row {
    const char* name;
    std::string bytes;
    std::int32_t os;
    std::string expected;
  };
  const Row rows[] = {
      {"comments, blanks, mappings", "# c\r\n\r\n127.0.0.1 localhost\r\n10.1.1.1 x\r\n#e\r\n", 3,
       "# c\r\n\r\n#e\r\n" + kV4 + kV6},
      {"xp", "# c\r\n127.0.0.1 localhost\r\n", 0, "# c\r\n" + kV4},
      {"cr only", "#a\r\r1.1.1.1 b\r#c\r", 1, "#a\r\n\r\n#c\r\n" + kV4 + kV6},
      {"lf only", "#a\n\n1.1.1.1 b\n#c\n", 6, "#a\r\n\r\n#c\r\n" + kV4 + kV6},
      {"utf-16 mark", utf16, 3, "# wide\r\n\r\n" + kV4 + kV6},
      {"utf-8 mark", "\xEF\xBB\xBF#u\r\n1.1.1.1 b\r\n", 3, "#u\r\n" + kV4 + kV6},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    WriteHosts(r.bytes);
    EXPECT_TRUE(RunFix(701, FixArgs{r.os, L"IE8"}));
    EXPECT_EQ(ReadHosts(), r.expected);
    WaitForSystemAttribute();
    // Only the system attribute comes back.
    EXPECT_EQ(Attributes() & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
  }
  for (const auto& name : EtcEntries()) EXPECT_EQ(name.find(L"corrivo"), std::wstring::npos) << Narrow(name);
}

TEST(HostsFileWineTest, NoFileAtAll) {
  SetFileAttributesW(HostsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(DeleteFileW(HostsPath().c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(RunFix(701, FixArgs{6, L"IE8"}));
  EXPECT_EQ(ReadHosts(), kV4 + kV6);
  WaitForSystemAttribute();
  // Twice gives the same file.
  EXPECT_TRUE(RunFix(701, FixArgs{6, L"IE8"}));
  EXPECT_EQ(ReadHosts(), kV4 + kV6);
  WaitForSystemAttribute();
}

// Wine's attrib acts on its last switch only, so the repair's "-s -r -h" may leave the system
// attribute set; the new file takes the old one's place whatever its attributes, and ends with
// only the system attribute, which the last command sets again.
TEST(HostsFileWineTest, HiddenSystemFileIsReplaced) {
  WriteHosts("# locked\r\n10.0.0.1 a\r\n");
  ASSERT_TRUE(SetFileAttributesW(HostsPath().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_TRUE(RunFix(701, FixArgs{3, L"IE8"}));
  EXPECT_EQ(ReadHosts(), "# locked\r\n" + kV4 + kV6);
  WaitForSystemAttribute();
  EXPECT_EQ(Attributes() & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
}

TEST(HostsFileWineTest, FailedWriteKeepsTheOldFile) {
  WriteHosts("# keep\r\n10.0.0.1 a\r\n");
  // The temporary file beside the hosts file cannot be created.
  const std::wstring blocker = HostsPath() + L".corrivo-new";
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  EXPECT_FALSE(RunFix(701, FixArgs{3, L"IE8"}));
  EXPECT_EQ(ReadHosts(), "# keep\r\n10.0.0.1 a\r\n");
  // The system attribute is set again all the same.
  WaitForSystemAttribute();
  RemoveDirectoryW(blocker.c_str());
  SetFileAttributesW(HostsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(RewriteHostsFile(0));
  EXPECT_EQ(ReadHosts(), "# keep\r\n" + kV4);
  for (const auto& name : EtcEntries()) EXPECT_EQ(name.find(L"corrivo"), std::wstring::npos) << Narrow(name);
}

// --- 503

const wchar_t* const kExplorerKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

std::wstring HelperPath() {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"corrivo_fake_explorer.exe";
}

bool SetShellState(const std::vector<BYTE>& data) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kExplorerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG r = RegSetValueExW(key, L"ShellState", 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

std::vector<BYTE> GetShellState() {
  HKEY key = nullptr;
  std::vector<BYTE> data(64);
  DWORD size = static_cast<DWORD>(data.size()), type = 0;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kExplorerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  LONG r = RegQueryValueExW(key, L"ShellState", nullptr, &type, data.data(), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS || type != REG_BINARY) return {};
  data.resize(size);
  return data;
}

TEST(StickyNotesWineTest, PatchesTheShellStateAndEndsExplorer) {
  TempDir dir;
  const std::wstring copy = dir.path() + L"\\explorer.exe";
  ASSERT_TRUE(CopyFileW(HelperPath().c_str(), copy.c_str(), FALSE)) << Narrow(HelperPath());
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  std::wstring cmdline = L"\"" + copy + L"\" 60";
  ASSERT_TRUE(CreateProcessW(copy.c_str(), &cmdline[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 300), static_cast<DWORD>(WAIT_TIMEOUT));

  const std::vector<BYTE> before = {0x24, 0, 0, 0, 0x24, 0x28, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
  ASSERT_TRUE(SetShellState(before));
  EXPECT_TRUE(RunCheck(503, FixArgs{3, L"IE8"}));

  VirtualClock clock;
  {
    ScopedClock scoped(clock);
    EXPECT_TRUE(RunFix(503, FixArgs{3, L"IE8"}));
  }
  EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>{3000});
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);

  std::vector<BYTE> after = before;
  after[4] = 0x23;
  EXPECT_EQ(GetShellState(), after);
  EXPECT_FALSE(RunCheck(503, FixArgs{3, L"IE8"}));
}

TEST(StickyNotesWineTest, MissingShellStateFails) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kExplorerKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, L"ShellState");
    RegCloseKey(key);
  }
  VirtualClock clock;
  ScopedClock scoped(clock);
  EXPECT_FALSE(RunFix(503, FixArgs{3, L"IE8"}));
  EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>{3000});
  EXPECT_TRUE(GetShellState().empty());
}

}  // namespace
}  // namespace corrivo::testing
