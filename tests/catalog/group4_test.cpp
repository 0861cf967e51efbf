// Repairs and checks 401-410, run through the catalogue against the memory registry.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "sysaccess/registry.h"
#include "tests/catalog/repairs_effects.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring HKCU = L"HKEY_CURRENT_USER";
const std::wstring HKLM = L"HKEY_LOCAL_MACHINE";
const std::wstring kPolicyUser = L"\\Software\\Policies\\Microsoft\\Windows\\System";
const std::wstring kPolicyUserExplorer = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const std::wstring kPolicyMachine = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const std::wstring kRestoreKey = L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore";
const std::wstring kRestorePolicy = L"\\Software\\Policies\\Microsoft\\Windows NT\\SystemRestore\\";
const std::wstring kPlugPlay = L"\\System\\CurrentControlSet\\services\\PlugPlay";
const std::wstring kWinDefend = L"\\System\\CurrentControlSet\\services\\WinDefend";
const std::wstring kMmc = L"\\Software\\Policies\\Microsoft\\MMC";

Effects Expected(int id, std::int32_t os) {
  Effects e;
  switch (id) {
    case 401:
    case 402: {
      const wchar_t* name = id == 401 ? L"DisableTaskMgr" : L"DisableCMD";
      e.deletedValues = {{HKCU, kPolicyUser, name}, {HKCU, kPolicyUserExplorer, name}, {HKLM, kPolicyMachine, name}};
      break;
    }
    case 403:
      e.deletedValues = {{HKCU, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", L"DisableRegistryTools"},
                         {HKLM, kPolicyMachine, L"DisableRegistryTools"}};
      break;
    case 404: e.deletedValues = {{HKCU, kMmc, L"RestrictToPermittedSnapins"}}; break;
    case 405:
      e.commands = {L"/c net stop WSearch", L"/c net start WSearch"};
      e.writes = {Dword(HKLM, L"\\SOFTWARE\\Microsoft\\Windows Search", L"SetupCompletedSuccessfully", 1)};
      break;
    case 406:
      e.deletedValues = {{HKLM, kRestoreKey, L"RPSessionInterval"},
                         {HKLM, kRestorePolicy, L"DisableConfig"},
                         {HKLM, kRestorePolicy, L"DisableSR"}};
      break;
    case 407:
      e.writes = {Dword(HKLM, kPlugPlay, L"Start", os == 6 ? 3 : 2)};
      e.commands = {L"/c regsvr32 /s devmgr.dll", L"/c net start PlugPlay"};
      break;
    case 408:
      e.writes = {Dword(HKLM, kWinDefend, L"Start", os == 6 ? 0 : 2)};
      e.commands = {L"/c net stop WinDefend",
                    L"/c \"%programfiles%\\Windows Defender\\MpCmdRun.exe\" -RemoveDefinitions -All",
                    L"/c \"%programfiles%\\Windows Defender\\MpCmdRun.exe\" -RestoreDefaults",
                    L"/c net start WinDefend"};
      break;
    case 409:
      e.commands = {L"/c net stop winmgmt", L"/c net stop wscsvc",
                    L"/c Rd /s /q \"%windir%\\System32\\wbem\\Repository\"", L"/c net start wscsvc",
                    L"/c net start winmgmt"};
      break;
    case 410:
      for (const wchar_t* name : {L"StoreDirty", L"PendingXmlIdentifier", L"NextQueueEntryIndex",
                                  L"AdvancedInstallersNeedResolving"})
        e.deletedValues.push_back({HKLM, L"\\COMPONENTS", name});
      break;
  }
  return e;
}

class Group4Test : public MemorySystemTest {};

TEST_F(Group4Test, EveryRepairHasExactlyItsEffects) {
  ExpectEveryRepair(IdRange(401, 410), Expected, runner, clock);
}

TEST_F(Group4Test, DeletesOfAbsentValuesSucceed) {
  for (int id : {401, 402, 403, 404, 406, 410}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(RunFix(id, FixArgs{}));
  }
  EXPECT_TRUE(runner.Commands().empty());
}

TEST_F(Group4Test, EarlierFailedDeleteDoesNotStopOrDecide) {
  // The first two keys of 401 cannot be opened for writing; the machine key still is cleaned.
  registry.PutDword(RegRoot::CurrentUser, kPolicyUser, L"DisableTaskMgr", 1);
  registry.PutDword(RegRoot::CurrentUser, kPolicyUserExplorer, L"DisableTaskMgr", 1);
  registry.PutDword(RegRoot::LocalMachine, kPolicyMachine, L"DisableTaskMgr", 1);
  registry.DenyFullAccess(RegRoot::CurrentUser, L"Software");
  EXPECT_TRUE(RunFix(401, FixArgs{}));
  EXPECT_FALSE(registry.Get(RegRoot::LocalMachine, kPolicyMachine, L"DisableTaskMgr").has_value());
  EXPECT_TRUE(registry.Get(RegRoot::CurrentUser, kPolicyUser, L"DisableTaskMgr").has_value());
}

TEST_F(Group4Test, MachineKeysDeniedFailTheRepairsThatEndThere) {
  for (int id : {401, 402, 403, 406, 410}) {
    SCOPED_TRACE(id);
    MemoryRegistry fresh;
    ScopedRegistryBackend scoped(fresh);
    Effects e = Expected(id, 3);
    Arrange(fresh, e);
    fresh.DenyFullAccess(RegRoot::LocalMachine, L"");
    EXPECT_FALSE(RunFix(id, FixArgs{3, L"IE8"}));
    // The user's policy values went all the same.
    for (const auto& v : e.deletedValues) {
      bool userValue = v.root == HKCU;
      EXPECT_EQ(fresh.Get(RootOf(v.root), v.key, v.name).has_value(), !userValue) << Narrow(v.key + L" " + v.name);
    }
  }
}

TEST_F(Group4Test, MachineKeysDeniedDoNotDecideCommandRepairs) {
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  for (int id : {405, 407, 408}) {
    SCOPED_TRACE(id);
    runner.Clear();
    EXPECT_TRUE(RunFix(id, FixArgs{6, L"IE8"}));
    EXPECT_EQ(runner.Commands().size(), Expected(id, 6).commands.size());
  }
  EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, L"SOFTWARE\\Microsoft\\Windows Search"));
  EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, kPlugPlay));
}

TEST_F(Group4Test, LastCommandDecides) {
  for (int id : {405, 407, 408, 409}) {
    SCOPED_TRACE(id);
    const Effects e = Expected(id, 3);
    runner.Clear();
    runner.SetResult(true);
    runner.FailCommand(e.commands.back());
    EXPECT_FALSE(RunFix(id, FixArgs{3, L"IE8"}));
    // Every command was still tried, and an earlier failure alone does not count.
    EXPECT_EQ(runner.Commands().size(), e.commands.size());
  }
  RecordingRunner other;
  ScopedCommandRunner scoped(other);
  other.FailCommand(L"/c net stop winmgmt");
  EXPECT_TRUE(RunFix(409, FixArgs{}));
  other.SetResult(false);
  EXPECT_FALSE(RunFix(405, FixArgs{}));
}

// The registry reaches the same key either way; the plans still carry the path as written.
TEST(Group4PlanTest, RestorePolicyKeyKeepsItsTrailingBackslash) {
  const Plan plan = PlanFor(406, FixArgs{});
  ASSERT_EQ(plan.size(), 3u);
  EXPECT_EQ(Narrow(plan[0].key), Narrow(kRestoreKey));
  EXPECT_EQ(Narrow(plan[1].key), Narrow(kRestorePolicy));
  EXPECT_EQ(Narrow(plan[2].key), Narrow(kRestorePolicy));
}

// --- checks

class Group4CheckTest : public MemorySystemTest {};

TEST_F(Group4CheckTest, WhichIdsHaveChecks) {
  for (int id = 401; id <= 410; ++id) {
    bool expected = id != 405 && id != 408 && id != 409;
    EXPECT_EQ(HasCheck(id), expected) << id;
  }
}

TEST_F(Group4CheckTest, ToolPoliciesAnswerForAnyNonZeroValue) {
  struct Tool {
    int id;
    std::vector<RegPlace> places;
  };
  const std::vector<Tool> tools = {
      {401, Expected(401, 3).deletedValues}, {402, Expected(402, 3).deletedValues},
      {403, Expected(403, 3).deletedValues}, {404, Expected(404, 3).deletedValues}};
  for (const auto& tool : tools) {
    for (std::size_t at = 0; at < tool.places.size(); ++at) {
      const RegPlace& p = tool.places[at];
      SCOPED_TRACE(std::to_string(tool.id) + " at " + Narrow(p.root + p.key));
      MemoryRegistry fresh;
      ScopedRegistryBackend scoped(fresh);
      EXPECT_FALSE(RunCheck(tool.id, FixArgs{})) << "absent";
      for (const auto& q : tool.places) fresh.PutDword(RootOf(q.root), q.key, q.name, 0);
      EXPECT_FALSE(RunCheck(tool.id, FixArgs{})) << "all zero";
      fresh.PutDword(RootOf(p.root), p.key, p.name, 1);
      EXPECT_TRUE(RunCheck(tool.id, FixArgs{})) << "one set";
      fresh.PutDword(RootOf(p.root), p.key, p.name, 0xFFFFFFFFu);
      EXPECT_TRUE(RunCheck(tool.id, FixArgs{})) << "minus one";
      // The sentinel itself reads as "no value".
      fresh.PutDword(RootOf(p.root), p.key, p.name, 2147483647u);
      EXPECT_FALSE(RunCheck(tool.id, FixArgs{})) << "sentinel";
      fresh.PutString(RootOf(p.root), p.key, p.name, L"1");
      EXPECT_FALSE(RunCheck(tool.id, FixArgs{})) << "text";
    }
  }
}

TEST_F(Group4CheckTest, TaskManagerMachinePolicyOnly) {
  registry.PutDword(RegRoot::LocalMachine, kPolicyMachine, L"DisableTaskMgr", 1);
  EXPECT_TRUE(RunCheck(401, FixArgs{}));
  EXPECT_FALSE(RunCheck(402, FixArgs{}));
  EXPECT_TRUE(RunFix(401, FixArgs{}));
  EXPECT_FALSE(RunCheck(401, FixArgs{}));
}

TEST_F(Group4CheckTest, ValuePresenceRulesIgnoreData) {
  for (int id : {406, 410}) {
    for (const RegPlace& p : Expected(id, 3).deletedValues) {
      SCOPED_TRACE(std::to_string(id) + " " + Narrow(p.name));
      MemoryRegistry fresh;
      ScopedRegistryBackend scoped(fresh);
      EXPECT_FALSE(RunCheck(id, FixArgs{3, L"IE8"})) << "absent";
      fresh.PutKey(RootOf(p.root), p.key);
      fresh.PutDword(RootOf(p.root), p.key, L"Other", 1);
      EXPECT_FALSE(RunCheck(id, FixArgs{3, L"IE8"})) << "key without the value";
      fresh.PutDword(RootOf(p.root), p.key, p.name, 0);
      EXPECT_TRUE(RunCheck(id, FixArgs{3, L"IE8"})) << "zero";
      fresh.PutString(RootOf(p.root), p.key, p.name, L"");
      EXPECT_TRUE(RunCheck(id, FixArgs{3, L"IE8"})) << "text";
      EXPECT_TRUE(RunFix(id, FixArgs{3, L"IE8"}));
      EXPECT_FALSE(RunCheck(id, FixArgs{3, L"IE8"})) << "after the fix";
    }
  }
}

TEST_F(Group4CheckTest, RestorePolicyKeyWithOrWithoutTrailingBackslash) {
  registry.PutDword(RegRoot::LocalMachine, L"Software\\Policies\\Microsoft\\Windows NT\\SystemRestore", L"DisableSR", 1);
  EXPECT_TRUE(RunCheck(406, FixArgs{}));
  EXPECT_TRUE(RunFix(406, FixArgs{}));
  EXPECT_FALSE(RunCheck(406, FixArgs{}));
}

TEST_F(Group4CheckTest, KeyThatCannotBeOpenedIsNoPresentValue) {
  // A key that exists but cannot be opened for full access answers -1, not "value present".
  registry.PutDword(RegRoot::LocalMachine, L"COMPONENTS", L"StoreDirty", 1);
  registry.DenyFullAccess(RegRoot::LocalMachine, L"COMPONENTS");
  EXPECT_FALSE(RunCheck(410, FixArgs{3, L"IE8"}));
}

TEST_F(Group4CheckTest, PlugPlayStartTypeByVersion) {
  struct Row {
    std::int32_t os;
    std::optional<std::uint32_t> start;
    bool problem;
  };
  const Row rows[] = {
      {6, 3, false}, {6, 2, true}, {6, std::nullopt, true}, {6, 4, true},
      {3, 2, false}, {3, 3, true}, {3, std::nullopt, true}, {0, 2, false},
      {1, 2, false}, {0, 3, true}, {1, 0, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("os " + std::to_string(r.os) + " start " + (r.start ? std::to_string(*r.start) : "none"));
    MemoryRegistry fresh;
    ScopedRegistryBackend scoped(fresh);
    if (r.start) fresh.PutDword(RegRoot::LocalMachine, kPlugPlay, L"Start", *r.start);
    EXPECT_EQ(RunCheck(407, FixArgs{r.os, L"IE8"}), r.problem);
  }
  // A text value is no start type.
  registry.PutString(RegRoot::LocalMachine, kPlugPlay, L"Start", L"2");
  EXPECT_TRUE(RunCheck(407, FixArgs{3, L"IE8"}));
}

TEST_F(Group4CheckTest, DeviceManagerFixThenCheck) {
  for (std::int32_t os : kVersionCodes) {
    SCOPED_TRACE(os);
    registry.PutDword(RegRoot::LocalMachine, kPlugPlay, L"Start", 4);
    EXPECT_TRUE(RunCheck(407, FixArgs{os, L"IE8"}));
    EXPECT_TRUE(RunFix(407, FixArgs{os, L"IE8"}));
    EXPECT_FALSE(RunCheck(407, FixArgs{os, L"IE8"}));
  }
}

TEST_F(Group4CheckTest, ChecksOnlyRead) {
  for (int id : {401, 402, 403, 404, 406, 407, 410}) {
    for (std::int32_t os : kVersionCodes) RunCheck(id, FixArgs{os, L"IE8"});
  }
  EXPECT_EQ(Narrow(registry.Dump()), "");
  EXPECT_TRUE(runner.Commands().empty());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace corrivo::testing
