// Repairs and checks 101-110 through the catalogue, against the memory registry.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/fixes.h"
#include "sysaccess/memory/host_platform.h"
#include "tests/catalog/repairs_effects.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring HKCU = L"HKEY_CURRENT_USER";
const std::wstring HKLM = L"HKEY_LOCAL_MACHINE";
const std::wstring kBin = L"{645FF040-5081-101B-9F08-00AA002F954E}";
const std::wstring kClassic = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\ClassicStartMenu";
const std::wstring kNew = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
const std::wstring kIcon =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
const std::wstring kShell = L"\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell";
const std::wstring kPolicies = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const std::wstring kShowAll = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden\\SHOWALL";
const std::wstring kWinlogon = L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::wstring kCdrom = L"\\System\\CurrentControlSet\\Control\\Class\\{4D36E965-E325-11CE-BFC1-08002BE10318}";

Effects Expected(int id, std::int32_t os) {
  Effects e;
  switch (id) {
    case 101: e.writes = {Dword(HKCU, kClassic, kBin, 0), Dword(HKCU, kNew, kBin, 0)}; break;
    case 102:
      e.deletedValues = {{HKCU, kShell, L"BagMRU"}, {HKCU, kShell, L"Bag"}};
      // Subkeys of the same names are not values and stay.
      e.before = {Dword(HKCU, kShell + L"\\BagMRU", L"0", 1), Dword(HKCU, kShell + L"\\Bags\\1", L"x", 2)};
      break;
    case 103: e.commands = {L"/c regsvr32 /s gameux.dll"}; break;
    case 104: e.deletedValues = {{HKCU, kPolicies, L"NoFolderOptions"}}; break;
    case 105: e.writes = {Dword(HKLM, kShowAll, L"CheckedValue", 1)}; break;
    case 106:
      e.commands = {L"/c Regsvr32 /s atl.dll", L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\sbdrop.dll\"",
                    L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\wlsrvc.dll\""};
      break;
    case 107:
      if (os == 0)
        e.writes = {ExpandSz(HKCU, kIcon, L"", L"%SystemRoot%\\system32\\shell32.dll,31"),
                    ExpandSz(HKCU, kIcon, L"empty", L"%SystemRoot%\\system32\\shell32.dll,31"),
                    ExpandSz(HKCU, kIcon, L"full", L"%SystemRoot%\\system32\\shell32.dll,32")};
      else
        e.writes = {ExpandSz(HKCU, kIcon, L"", L"%SystemRoot%\\system32\\imageres.dll,-55"),
                    ExpandSz(HKCU, kIcon, L"empty", L"%SystemRoot%\\system32\\imageres.dll,-55"),
                    ExpandSz(HKCU, kIcon, L"full", L"%SystemRoot%\\system32\\imageres.dll,-54")};
      break;
    case 108: e.writes = {Sz(HKLM, kWinlogon, L"Shell", L"Explorer.exe"), Dword(HKLM, kWinlogon, L"AutoRestartShell", 1)}; break;
    case 109: e.deletedValues = {{HKLM, kCdrom, L"UpperFilters"}, {HKLM, kCdrom, L"LowerFilters"}}; break;
    case 110: e.commands = {L"/c regsvr32 /i /s mshtml.dll"}; break;
  }
  return e;
}

class Group1Test : public MemorySystemTest {};

TEST_F(Group1Test, EveryRepairHasExactlyItsEffectsOnEveryVersion) {
  ExpectEveryRepair(IdRange(101, 110), Expected, runner, clock);
}

TEST_F(Group1Test, WritesOverValuesOfAnotherType) {
  registry.PutString(RegRoot::CurrentUser, kClassic, kBin, L"1");
  registry.PutDword(RegRoot::CurrentUser, kIcon, L"full", 3);
  EXPECT_TRUE(Fix101());
  EXPECT_TRUE(Fix107(3));
  EXPECT_EQ(registry.Get(RegRoot::CurrentUser, kClassic, kBin)->type, RegType::Dword);
  RegType type = RegType::None;
  EXPECT_EQ(registry.GetString(RegRoot::CurrentUser, kIcon, L"full", &type), L"%SystemRoot%\\system32\\imageres.dll,-54");
  EXPECT_EQ(type, RegType::ExpandSz);
}

TEST_F(Group1Test, DeletesOfAbsentValuesSucceed) {
  for (int id : {102, 104, 109}) EXPECT_TRUE(RunFix(id, FixArgs{})) << id;
  EXPECT_EQ(registry.Dump(), L"");
}

TEST_F(Group1Test, LastCommandDecides) {
  for (int id : {103, 106, 110}) {
    SCOPED_TRACE(id);
    Effects e = Expected(id, 3);
    RecordingRunner r;
    ScopedCommandRunner scoped(r);
    r.FailCommand(e.commands.back());
    EXPECT_FALSE(RunFix(id, FixArgs{}));
    EXPECT_EQ(r.Commands(), e.commands);
    if (e.commands.size() > 1) {
      RecordingRunner early;
      ScopedCommandRunner scopedEarly(early);
      early.FailCommand(e.commands.front());
      EXPECT_TRUE(RunFix(id, FixArgs{}));
      EXPECT_EQ(early.Commands(), e.commands);
    }
  }
}

TEST_F(Group1Test, MachineKeyDenied) {
  registry.PutDword(RegRoot::LocalMachine, kCdrom, L"UpperFilters", 1);
  registry.PutDword(RegRoot::LocalMachine, kCdrom, L"LowerFilters", 1);
  registry.PutString(RegRoot::LocalMachine, kWinlogon, L"Shell", L"Explorer.exe");
  registry.PutDword(RegRoot::LocalMachine, kWinlogon, L"AutoRestartShell", 1);
  registry.PutDword(RegRoot::LocalMachine, kShowAll, L"CheckedValue", 1);
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  EXPECT_FALSE(Fix105());
  EXPECT_FALSE(Fix108());
  EXPECT_FALSE(Fix109());
  EXPECT_TRUE(registry.Get(RegRoot::LocalMachine, kCdrom, L"LowerFilters").has_value());
  // Reads open for full access too: the correct values are not seen.
  EXPECT_TRUE(Check105());
  EXPECT_TRUE(Check108());
  // The user's repairs do not care.
  for (int id : {101, 102, 103, 104, 106, 107, 110}) EXPECT_TRUE(RunFix(id, FixArgs{3, L"IE8"})) << id;
}

TEST_F(Group1Test, AbsentMachineKeyDeletesSucceedEvenWhenDenied) {
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  EXPECT_TRUE(Fix109());
}

TEST_F(Group1Test, EarlierFailingWriteDoesNotStopTheLastOne) {
  // Only the classic key is denied: the first write fails, the second is made and decides.
  registry.PutKey(RegRoot::CurrentUser, kClassic);
  registry.DenyFullAccess(RegRoot::CurrentUser, kClassic);
  EXPECT_TRUE(Fix101());
  EXPECT_EQ(registry.GetDword(RegRoot::CurrentUser, kNew, kBin), 0u);
  EXPECT_FALSE(registry.Get(RegRoot::CurrentUser, kClassic, kBin).has_value());
}

// --- checks

class Group1CheckTest : public MemorySystemTest {};

TEST_F(Group1CheckTest, Check101) {
  EXPECT_FALSE(Check101()) << "absent";
  struct Row {
    std::uint32_t classic, start;
    bool problem;
  };
  for (const Row& r : {Row{0, 0, false}, Row{1, 0, true}, Row{0, 1, true}, Row{0xFFFFFFFFu, 0, true},
                       Row{2147483647u, 2147483647u, false}, Row{2, 2, true}}) {
    SCOPED_TRACE(std::to_string(r.classic) + "/" + std::to_string(r.start));
    registry.PutDword(RegRoot::CurrentUser, kClassic, kBin, r.classic);
    registry.PutDword(RegRoot::CurrentUser, kNew, kBin, r.start);
    EXPECT_EQ(Check101(), r.problem);
  }
  // A text value is no DWORD: it reads as no value.
  registry.PutString(RegRoot::CurrentUser, kClassic, kBin, L"1");
  registry.PutString(RegRoot::CurrentUser, kNew, kBin, L"1");
  EXPECT_FALSE(Check101());
  registry.PutDword(RegRoot::CurrentUser, kNew, kBin, 1);
  EXPECT_TRUE(Check101());
  EXPECT_TRUE(Fix101());
  EXPECT_FALSE(Check101());
}

TEST_F(Group1CheckTest, Check101FalseAfterFixOnEmptyRegistry) {
  EXPECT_TRUE(Fix101());
  EXPECT_TRUE(registry.HasKey(RegRoot::CurrentUser, kClassic));
  EXPECT_TRUE(registry.HasKey(RegRoot::CurrentUser, kNew));
  EXPECT_FALSE(Check101());
}

TEST_F(Group1CheckTest, Check102) {
  EXPECT_FALSE(Check102());
  registry.PutKey(RegRoot::CurrentUser, kShell + L"\\BagMRU");
  registry.PutKey(RegRoot::CurrentUser, kShell + L"\\Bag");
  EXPECT_FALSE(Check102()) << "subkeys are not values";
  registry.PutString(RegRoot::CurrentUser, kShell, L"Bag", L"");
  EXPECT_TRUE(Check102());
  EXPECT_TRUE(Fix102());
  EXPECT_FALSE(Check102());
  registry.Put(RegRoot::CurrentUser, kShell, L"BagMRU", RegType::Binary, {});
  EXPECT_TRUE(Check102());
}

TEST_F(Group1CheckTest, ConstantChecks) {
  registry.PutDword(RegRoot::LocalMachine, kCdrom, L"UpperFilters", 1);
  for (std::int32_t os : kVersionCodes) {
    FixArgs args{os, L"IE8"};
    EXPECT_TRUE(RunCheck(103, args));
    EXPECT_TRUE(RunCheck(106, args));
    EXPECT_FALSE(RunCheck(109, args));
    EXPECT_TRUE(RunCheck(110, args));
  }
  EXPECT_TRUE(Check103());
  EXPECT_TRUE(Check106());
  EXPECT_FALSE(Check109());
  EXPECT_TRUE(Check110());
}

TEST_F(Group1CheckTest, Check104) {
  EXPECT_FALSE(Check104());
  registry.PutDword(RegRoot::CurrentUser, kPolicies, L"NoFolderOptions", 0);
  EXPECT_FALSE(Check104());
  registry.PutDword(RegRoot::CurrentUser, kPolicies, L"NoFolderOptions", 1);
  EXPECT_TRUE(Check104());
  EXPECT_TRUE(Fix104());
  EXPECT_FALSE(Check104());
}

TEST_F(Group1CheckTest, Check105) {
  EXPECT_TRUE(Check105()) << "absent";
  for (std::uint32_t v : {0u, 2u, 0xFFFFFFFFu}) {
    registry.PutDword(RegRoot::LocalMachine, kShowAll, L"CheckedValue", v);
    EXPECT_TRUE(Check105()) << v;
  }
  registry.PutString(RegRoot::LocalMachine, kShowAll, L"CheckedValue", L"1");
  EXPECT_TRUE(Check105()) << "text";
  EXPECT_TRUE(Fix105());
  EXPECT_FALSE(Check105());
}

class Check107Test : public Group1CheckTest {
 protected:
  void SetUp() override { host::SetEnvironment(L"SystemRoot", L"C:\\Windows"); }
  void TearDown() override { host::SetEnvironment(L"SystemRoot", L"C:\\Windows"); }
  void Store(const std::wstring& empty, const std::wstring& full, RegType type = RegType::ExpandSz) {
    registry.PutString(RegRoot::CurrentUser, kIcon, L"empty", empty, type);
    registry.PutString(RegRoot::CurrentUser, kIcon, L"full", full, type);
  }
};

TEST_F(Check107Test, AbsentValuesAreAProblem) {
  for (std::int32_t os : kVersionCodes) EXPECT_TRUE(Check107(os)) << os;
}

TEST_F(Check107Test, FixThenCheckFindsNoProblemOnEveryVersion) {
  for (std::int32_t os : kVersionCodes) {
    EXPECT_TRUE(Fix107(os));
    EXPECT_FALSE(Check107(os)) << os;
  }
}

TEST_F(Check107Test, RulesForVistaAndLater) {
  struct Row {
    const wchar_t* empty;
    const wchar_t* full;
    bool problem;
  };
  const Row rows[] = {
      {L"%SystemRoot%\\system32\\imageres.dll,-55", L"%SystemRoot%\\system32\\imageres.dll,-54", false},
      {L"%SYSTEMROOT%\\SYSTEM32\\IMAGERES.DLL,-55", L"%systemroot%\\system32\\imageres.dll,-54", false},
      {L"C:\\Windows\\system32\\IMAGERES.dll,-55", L"C:\\Windows\\system32\\IMAGERES.dll,-54", false},
      {L"c:\\windows\\SYSTEM32\\imageres.DLL,-55", L"C:\\WINDOWS\\system32\\imageres.dll,-54", false},
      {L"%SystemRoot%\\system32\\imageres.dll,-54", L"%SystemRoot%\\system32\\imageres.dll,-54", true},
      {L"%SystemRoot%\\system32\\imageres.dll,-55", L"%SystemRoot%\\system32\\imageres.dll,-55", true},
      {L"%SystemRoot%\\system32\\imageres.dll,-55 ", L"%SystemRoot%\\system32\\imageres.dll,-54", true},
      {L"%SystemRoot%\\system32\\shell32.dll,31", L"%SystemRoot%\\system32\\shell32.dll,32", true},
      {L"D:\\WINNT\\system32\\imageres.dll,-55", L"D:\\WINNT\\system32\\imageres.dll,-54", true},
      {L"", L"%SystemRoot%\\system32\\imageres.dll,-54", true},
      {L",-55", L",-54", true},
  };
  for (std::int32_t os : {1, 3, 6}) {
    for (const Row& r : rows) {
      SCOPED_TRACE(Narrow(std::wstring(r.empty) + L" | " + r.full) + " os " + std::to_string(os));
      Store(r.empty, r.full);
      EXPECT_EQ(Check107(os), r.problem);
      Store(r.empty, r.full, RegType::Sz);
      EXPECT_EQ(Check107(os), r.problem) << "as REG_SZ";
    }
  }
}

TEST_F(Check107Test, RulesForXP) {
  Store(L"%SystemRoot%\\system32\\shell32.dll,31", L"%SystemRoot%\\system32\\shell32.dll,32");
  EXPECT_FALSE(Check107(0));
  EXPECT_TRUE(Check107(3));
  Store(L"C:\\Windows\\System32\\SHELL32.dll,31", L"c:\\windows\\system32\\shell32.dll,32");
  EXPECT_FALSE(Check107(0));
  // The Vista texts are wrong on XP.
  Store(L"%SystemRoot%\\system32\\imageres.dll,-55", L"%SystemRoot%\\system32\\imageres.dll,-54");
  EXPECT_TRUE(Check107(0));
  Store(L"%SystemRoot%\\system32\\shell32.dll,32", L"%SystemRoot%\\system32\\shell32.dll,32");
  EXPECT_TRUE(Check107(0));
}

TEST_F(Check107Test, ExpansionFollowsTheSystemRootAndIgnoresTheDefaultValue) {
  host::SetEnvironment(L"SystemRoot", L"E:\\Win");
  Store(L"E:\\Win\\system32\\imageres.dll,-55", L"E:\\Win\\system32\\imageres.dll,-54");
  EXPECT_FALSE(Check107(3));
  Store(L"C:\\Windows\\system32\\imageres.dll,-55", L"C:\\Windows\\system32\\imageres.dll,-54");
  EXPECT_TRUE(Check107(3));
  EXPECT_FALSE(registry.Get(RegRoot::CurrentUser, kIcon, L"").has_value());
}

TEST_F(Check107Test, NonTextValuesReadAsEmpty) {
  registry.PutDword(RegRoot::CurrentUser, kIcon, L"empty", 55);
  registry.PutString(RegRoot::CurrentUser, kIcon, L"full", L"%SystemRoot%\\system32\\imageres.dll,-54");
  EXPECT_TRUE(Check107(3));
}

TEST_F(Group1CheckTest, Check108) {
  struct Row {
    const wchar_t* shell;  // nullptr: absent
    std::int64_t autoRestart;  // -1: absent
    bool problem;
  };
  const Row rows[] = {
      {L"explorer.exe", 1, false}, {L"Explorer.exe", 1, false}, {L"EXPLORER.EXE", 1, false},
      {L"Explorer.exe", -1, true},  {L"Explorer.exe", 0, true},  {L"Explorer.exe", 2, true},
      {nullptr, 1, true},           {L"", 1, true},              {L"C:\\Windows\\explorer.exe", 1, true},
      {L"explorer.exe ", 1, true},  {L"cmd.exe", 1, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(Narrow(r.shell ? r.shell : L"(absent)") + " / " + std::to_string(r.autoRestart));
    MemoryRegistry fresh;
    ScopedRegistryBackend scoped(fresh);
    if (r.shell) fresh.PutString(RegRoot::LocalMachine, kWinlogon, L"Shell", r.shell);
    if (r.autoRestart >= 0) fresh.PutDword(RegRoot::LocalMachine, kWinlogon, L"AutoRestartShell", static_cast<std::uint32_t>(r.autoRestart));
    EXPECT_EQ(Check108(), r.problem);
  }
  registry.PutString(RegRoot::LocalMachine, kWinlogon, L"Shell", L"explorer.exe", RegType::ExpandSz);
  registry.PutString(RegRoot::LocalMachine, kWinlogon, L"AutoRestartShell", L"1");
  EXPECT_TRUE(Check108()) << "AutoRestartShell as text";
  EXPECT_TRUE(Fix108());
  EXPECT_FALSE(Check108());
}

}  // namespace
}  // namespace corrivo::testing
