// Corrivo64.com under Wine, started the way a user starts it: by name from cmd.exe, with the
// real registry behind it and its exit code read back from the process.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "corrivo_version.h"
#include "sysaccess/system.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

constexpr wchar_t kPolicyKey[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

struct Finished {
  DWORD exit = 0xFFFFFFFF;
  std::string out, err;
};

// The twin's path from CTest (a Unix path, reached through drive Z:).
std::wstring ConsoleProgram() {
  const char* path = std::getenv("CORRIVO_CONSOLE");
  std::wstring program = Utf8ToWide(path ? path : "");
  if (!program.empty() && program.front() == L'/') program = L"Z:" + program;
  for (auto& c : program)
    if (c == L'/') c = L'\\';
  return program;
}

HANDLE InheritableFile(const std::wstring& path) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs a command line in `folder` with both streams in files, as a prompt's redirection would.
Finished Start(std::wstring commandLine, const std::wstring& folder) {
  TempDir streams;
  const std::wstring outPath = streams.path() + L"\\out.txt", errPath = streams.path() + L"\\err.txt";
  HANDLE out = InheritableFile(outPath), err = InheritableFile(errPath);
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi = {};
  Finished done;
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &si, &pi)) {
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 120000), static_cast<DWORD>(WAIT_OBJECT_0));
    GetExitCodeProcess(pi.hProcess, &done.exit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  } else {
    ADD_FAILURE() << "cannot start " << Narrow(commandLine);
  }
  CloseHandle(out);
  CloseHandle(err);
  PlatformSystem().files.ReadWholeFile(outPath, &done.out);
  PlatformSystem().files.ReadWholeFile(errPath, &done.err);
  return done;
}

class ConsoleTwinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ConsoleProgram().empty()) << "CORRIVO_CONSOLE names the program under test";
    // A folder as a download leaves it: the twin and, beside it, an .exe of the same name (a
    // console program that is not Corrivo, so that starting it by mistake shows and ends).
    const std::wstring system32 = PlatformSystem().os.SystemFolder();
    ASSERT_TRUE(CopyFileW(ConsoleProgram().c_str(), (folder.path() + L"\\Corrivo64.com").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((system32 + L"\\hostname.exe").c_str(), (folder.path() + L"\\Corrivo64.exe").c_str(), FALSE));
    cmd = L"\"" + system32 + L"\\cmd.exe\"";
  }
  // As typed at a prompt: cmd.exe's own switches, then /c and the line.
  Finished Typed(const std::wstring& line) { return Start(cmd + L" " + line, folder.path()); }
  Finished Twin(const std::wstring& args) { return Start(L"\"" + folder.path() + L"\\Corrivo64.com\" " + args, folder.path()); }

  TempDir folder;
  std::wstring cmd;
  Registry registry = PlatformSystem().registry();
};

TEST_F(ConsoleTwinTest, ThePromptFindsTheTwinAndGetsItsExitCode) {
  Finished done = Typed(L"/c corrivo64 --version");
  EXPECT_EQ(done.exit, 0u);
  EXPECT_EQ(done.out, "Corrivo " CORRIVO_VERSION "\r\n");

  done = Typed(L"/c corrivo64 frob");
  EXPECT_EQ(done.exit, 2u);
  EXPECT_EQ(done.err.rfind("corrivo: unknown command 'frob'\r\n\r\nUsage: corrivo", 0), 0u) << done.err;

  // %ERRORLEVEL% as a batch file sees it after the command.
  done = Typed(L"/v:on /c \"corrivo64 scan --windows xp 2>nul & echo level=!ERRORLEVEL!\"");
  EXPECT_EQ(done.out, "level=2\r\n");
}

TEST_F(ConsoleTwinTest, APlantedProblemIsFixedOnTheRealRegistry) {
  ASSERT_TRUE(registry.WriteInteger(RegRoot::CurrentUser, kPolicyKey, L"DisableTaskMgr", 1));
  const Finished done = Twin(L"fix 401");
  EXPECT_EQ(done.exit, 0u) << done.err;
  EXPECT_EQ(done.out, "401 Fixed!        Enable Task Manager\r\n1 fixed, 0 failed.\r\n");
  EXPECT_EQ(registry.ValueState(RegRoot::CurrentUser, kPolicyKey, L"DisableTaskMgr"), kValueMissing);
}

}  // namespace
}  // namespace corrivo::testing
