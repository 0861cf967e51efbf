// Repairs 701 and 702 on Linux: the hosts file in a temporary Windows folder, the file types
// in the memory registry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "catalog/catalog.h"
#include "catalog/hosts_file.h"
#include "sysaccess/memory/host_platform.h"
#include "sysaccess/text.h"
#include "tests/catalog/repairs_effects.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

namespace fs = std::filesystem;

const std::wstring HKCR = L"HKEY_CLASSES_ROOT";
const std::wstring kClear = L"/c attrib -s -r -h %SystemRoot%\\system32\\drivers\\etc\\hosts";
const std::wstring kSetSystem = L"/c attrib +s %SystemRoot%\\system32\\drivers\\etc\\hosts";
const std::wstring kHandlerKey = L"\\lnkfile\\shellex\\ContextMenuHandlers\\{00021401-0000-0000-C000-000000000046}";
const std::string kV4 = "127.0.0.1       localhost\r\n";
const std::string kV6 = "::1       localhost\r\n";

std::wstring Command(const wchar_t* type) { return std::wstring(L"\\") + type + L"\\shell\\open\\command"; }

Effects Expected(int id, std::int32_t os) {
  Effects e;
  if (id == 701) {
    e.commands = {kClear, kSetSystem};
    e.sleeps = {500};
    return e;
  }
  const std::wstring notepad = L"%SystemRoot%\\System32\\NOTEPAD.EXE %1";
  const std::wstring itself = L"\"%1\" %*";
  const std::wstring script = L"%SystemRoot%\\System32\\WScript.exe \"%1\" %*";
  e.writes = {
      ExpandSz(HKCR, Command(L"txtfile"), L"", notepad),
      Sz(HKCR, Command(L"exefile"), L"", itself),
      Sz(HKCR, Command(L"comfile"), L"", itself),
      Sz(HKCR, Command(L"piffile"), L"", itself),
      Sz(HKCR, Command(L"regfile"), L"", L"regedit.exe \"%1\""),
      Sz(HKCR, Command(L"batfile"), L"", itself),
      Sz(HKCR, Command(L"scrfile"), L"", L"\"%1\" /S"),
      ExpandSz(HKCR, Command(L"chmfile"), L"", L"%SystemRoot%\\hh.exe %1"),
      ExpandSz(HKCR, Command(L"hlpfile"), L"",
               os == 0 ? L"%SystemRoot%\\System32\\WinHlp32.exe %1" : L"%SystemRoot%\\WinHlp32.exe %1"),
      ExpandSz(HKCR, Command(L"inifile"), L"", notepad),
      ExpandSz(HKCR, Command(L"inffile"), L"", notepad),
      ExpandSz(HKCR, Command(L"vbsfile"), L"", script),
      ExpandSz(HKCR, Command(L"jsfile"), L"", script),
  };
  e.createdKeys = {{HKCR, kHandlerKey, L""}};
  return e;
}

// A Windows folder of our own, with the hosts file's folder in it.
class Group7Test : public MemorySystemTest {
 protected:
  Group7Test() {
    host::SetEnvironment(L"SystemRoot", windows_.path());
    fs::create_directories(EtcFolder());
  }
  ~Group7Test() override { host::SetEnvironment(L"SystemRoot", L"/nonexistent-windows-folder"); }

  fs::path EtcFolder() const { return fs::path(Narrow(windows_.path())) / "system32" / "drivers" / "etc"; }
  fs::path HostsPath() const { return EtcFolder() / "hosts"; }
  void WriteHosts(const std::string& bytes) {
    std::ofstream out(HostsPath(), std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string ReadHosts() const {
    std::ifstream in(HostsPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Everything in the etc folder besides the hosts file: a temporary file must not stay.
  std::vector<std::string> OtherFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(EtcFolder()))
      if (entry.path().filename() != "hosts") names.push_back(entry.path().filename().string());
    return names;
  }

 private:
  TempDir windows_;
};

TEST_F(Group7Test, EveryRepairHasExactlyItsEffects) {
  ExpectEveryRepair({701, 702}, Expected, runner, clock);
}

TEST_F(Group7Test, HostsFileByVersion) {
  const std::string original = "# Copyright\r\n\r\n127.0.0.1 localhost\r\n# end\r\n";
  for (std::int32_t os : kVersionCodes) {
    SCOPED_TRACE(os);
    WriteHosts(original);
    EXPECT_TRUE(RunFix(701, FixArgs{os, L"IE8"}));
    EXPECT_EQ(ReadHosts(), "# Copyright\r\n\r\n# end\r\n" + kV4 + (os > 0 ? kV6 : ""));
    EXPECT_TRUE(OtherFiles().empty());
  }
}

TEST_F(Group7Test, HostsFileLineEndingsAndEncodings) {
  struct Row {
    const char* name;
    std::string bytes;
    std::string expected;  // before the default entries
  };
  const std::string utf16 = [] {
    std::string b("\xFF\xFE", 2);
    for (char c : std::string("# caf\xE9\r\n\r\n10.0.0.1 a\r\n#x")) {
      b += c;
      b += '\0';
    }
    return b;
  }();
  const Row rows[] = {
      {"crlf", "#a\r\n\r\n1.1.1.1 b\r\n#c\r\n", "#a\r\n\r\n#c\r\n"},
      {"lf only", "#a\n\n1.1.1.1 b\n#c\n", "#a\r\n\r\n#c\r\n"},
      {"cr only", "#a\r\r1.1.1.1 b\r#c\r", "#a\r\n\r\n#c\r\n"},
      {"mixed, no final break", "#a\n\r\n1.1.1.1 b\r#c", "#a\r\n\r\n#c\r\n"},
      {"utf-8 mark", "\xEF\xBB\xBF# caf\xC3\xA9\r\n1.1.1.1 b\r\n", "# caf\xE9\r\n"},
      {"utf-16 mark", utf16, "# caf\xE9\r\n\r\n#x\r\n"},
      {"ansi", "# caf\xE9 \x80\r\n", "# caf\xE9 \x80\r\n"},
      {"indented comment", "  # no\r\n\t#no\r\n#yes\r\n", "#yes\r\n"},
      {"only mappings", "127.0.0.1 localhost\r\n::1 localhost\r\n", ""},
      {"empty file", "", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    WriteHosts(r.bytes);
    EXPECT_TRUE(RunFix(701, FixArgs{3, L"IE8"}));
    EXPECT_EQ(ReadHosts(), r.expected + kV4 + kV6);
  }
}

TEST_F(Group7Test, NoHostsFileAtAll) {
  ASSERT_FALSE(fs::exists(HostsPath()));
  EXPECT_TRUE(RunFix(701, FixArgs{0, L"IE8"}));
  EXPECT_EQ(ReadHosts(), kV4);
  fs::remove(HostsPath());
  EXPECT_TRUE(RunFix(701, FixArgs{6, L"IE8"}));
  EXPECT_EQ(ReadHosts(), kV4 + kV6);
  EXPECT_TRUE(OtherFiles().empty());
}

TEST_F(Group7Test, RunningTwiceGivesTheSameFile) {
  WriteHosts("# a\n\n10.1.1.1 x\n");
  EXPECT_TRUE(RunFix(701, FixArgs{1, L"IE8"}));
  const std::string once = ReadHosts();
  EXPECT_TRUE(RunFix(701, FixArgs{1, L"IE8"}));
  EXPECT_EQ(ReadHosts(), once);
  EXPECT_EQ(once, "# a\r\n\r\n" + kV4 + kV6);
}

TEST_F(Group7Test, FailedWriteLeavesTheOldFileAndStillSetsTheAttribute) {
  const std::string original = "# keep\r\n10.0.0.1 a\r\n";
  WriteHosts(original);
  // The temporary file beside the hosts file cannot be created.
  fs::create_directory(EtcFolder() / "hosts.corrivo-new");
  EXPECT_FALSE(RunFix(701, FixArgs{3, L"IE8"}));
  EXPECT_EQ(ReadHosts(), original);
  EXPECT_EQ(runner.Commands(), (std::vector<std::wstring>{kClear, kSetSystem}));
  EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>{500});
}

TEST_F(Group7Test, FailedMoveRemovesTheTemporaryFile) {
  // The hosts "file" is a folder with something in it: the new file cannot take its place.
  fs::create_directories(HostsPath() / "inside");
  EXPECT_FALSE(RunFix(701, FixArgs{3, L"IE8"}));
  EXPECT_TRUE(fs::is_directory(HostsPath()));
  EXPECT_TRUE(OtherFiles().empty());
}

TEST_F(Group7Test, MissingFolderFails) {
  fs::remove_all(EtcFolder());
  EXPECT_FALSE(RunFix(701, FixArgs{3, L"IE8"}));
  EXPECT_FALSE(fs::exists(EtcFolder()));
  EXPECT_EQ(runner.Commands().size(), 2u);
}

TEST_F(Group7Test, NoUsableWindowsFolderWritesNothing) {
  const fs::path here = fs::current_path();
  TempDir cwd;
  fs::current_path(Narrow(cwd.path()));
  for (const wchar_t* root : {L"", L"relative", L"\\rooted"}) {
    SCOPED_TRACE(Narrow(root));
    host::SetEnvironment(L"SystemRoot", root);
    EXPECT_FALSE(RewriteHostsFile(3));
  }
  // A path too long for the buffer expands to nothing.
  host::SetEnvironment(L"SystemRoot", L"/" + std::wstring(300, L'x'));
  EXPECT_FALSE(RewriteHostsFile(3));
  EXPECT_TRUE(fs::is_empty(Narrow(cwd.path())));
  fs::current_path(here);
}

TEST_F(Group7Test, CommandFailuresDoNotDecide) {
  runner.SetResult(false);
  EXPECT_TRUE(RunFix(701, FixArgs{3, L"IE8"}));
  EXPECT_EQ(ReadHosts(), kV4 + kV6);
}

TEST_F(Group7Test, AssociationsKeepAnExistingHandlerKey) {
  registry.PutString(RegRoot::ClassesRoot, kHandlerKey, L"", L"handler");
  registry.PutDword(RegRoot::ClassesRoot, kHandlerKey, L"Flags", 5);
  EXPECT_TRUE(RunFix(702, FixArgs{3, L"IE8"}));
  EXPECT_EQ(registry.GetString(RegRoot::ClassesRoot, kHandlerKey, L""), std::optional<std::wstring>(L"handler"));
  EXPECT_EQ(registry.GetDword(RegRoot::ClassesRoot, kHandlerKey, L"Flags"), std::optional<std::uint32_t>(5));
  EXPECT_EQ(registry.ValueNames(RegRoot::ClassesRoot, kHandlerKey).size(), 2u);
}

TEST_F(Group7Test, AssociationsAreDecidedByTheHandlerKey) {
  // Every open command is out of reach, the handler key is not: success.
  for (const wchar_t* type : {L"txtfile", L"exefile", L"comfile", L"piffile", L"regfile", L"batfile", L"scrfile",
                              L"chmfile", L"hlpfile", L"inifile", L"inffile", L"vbsfile", L"jsfile"}) {
    registry.PutKey(RegRoot::ClassesRoot, type);
    registry.DenyFullAccess(RegRoot::ClassesRoot, type);
  }
  EXPECT_TRUE(RunFix(702, FixArgs{0, L"IE8"}));
  EXPECT_TRUE(registry.HasKey(RegRoot::ClassesRoot, kHandlerKey));
  EXPECT_FALSE(registry.HasKey(RegRoot::ClassesRoot, Command(L"txtfile")));

  MemoryRegistry other;
  ScopedRegistryBackend scoped(other);
  other.PutKey(RegRoot::ClassesRoot, L"lnkfile");
  other.DenyFullAccess(RegRoot::ClassesRoot, L"lnkfile");
  EXPECT_FALSE(RunFix(702, FixArgs{0, L"IE8"}));
  EXPECT_TRUE(other.GetString(RegRoot::ClassesRoot, Command(L"jsfile"), L"").has_value());
}

}  // namespace
}  // namespace corrivo::testing
