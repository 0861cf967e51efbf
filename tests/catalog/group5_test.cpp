// Repairs and checks 501-510, run through the catalogue against the memory registry.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "sysaccess/platform.h"
#include "sysaccess/registry.h"
#include "tests/catalog/repairs_effects.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring HKCU = L"HKEY_CURRENT_USER";
const std::wstring HKLM = L"HKEY_LOCAL_MACHINE";
const std::wstring kExplorer = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring kDesktop = L"\\Control Panel\\Desktop";
const std::wstring kDwm = L"\\Software\\Microsoft\\Windows\\DWM";
const std::wstring kAdvanced = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const std::wstring kMachineDwm = L"\\SOFTWARE\\Microsoft\\Windows\\DWM";
const std::wstring kComposition = L"/c rundll32.exe Dwmapi.dll,DwmEnableComposition";

// A shell state as Explorer keeps it; byte 4 carries the flags the notes' warning reads.
std::vector<std::uint8_t> ShellState(std::uint8_t flags) {
  return {0x24, 0x00, 0x00, 0x00, flags, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
}

class FakeProcesses : public ProcessControl {
 public:
  bool KillByName(const std::wstring& exeName) override {
    killed.push_back(exeName);
    return answer;
  }
  std::vector<std::wstring> killed;
  bool answer = true;
};

Effects Expected(int id, std::int32_t os) {
  Effects e;
  switch (id) {
    case 501: e.commands = {L"/c powercfg -h on"}; break;
    case 502:
      e.commands = {L"/c Regsvr32 /s atl.dll", L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\sbdrop.dll\"",
                    L"/c Regsvr32 /s \"%ProgramFiles%\\Windows Sidebar\\wlsrvc.dll\""};
      break;
    case 503:
      e.before = {Binary(HKCU, kExplorer, L"ShellState", ShellState(0x24))};
      e.writes = {Binary(HKCU, kExplorer, L"ShellState", ShellState(0x23))};
      e.sleeps = {3000};
      break;
    case 504:
      e.commands = {L"/c regsvr32 /s jscript.dll", L"/c regsvr32 /s vbscript.dll", L"/c regsvr32 /s mshtml.dll"};
      break;
    case 505: break;
    case 506:
      e.commands = {L"/c attrib -h -s -a -r \"%userprofile%\\AppData\\Local\\IconCache.db\"",
                    L"/c del /q \"%userprofile%\\AppData\\Local\\IconCache.db\""};
      e.writes = {Dword(HKLM, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer", L"Max Cached Icons", 2000)};
      break;
    case 507: e.commands = {L"/c del /q /s %APPDATA%\\Microsoft\\Windows\\Recent\\AutomaticDestinations\\*.*"}; break;
    case 508:
      e.writes = {Sz(HKCU, kDesktop, L"DockMoving", L"1"), Dword(HKCU, kDwm + L"\\", L"CompositionPolicy", 2)};
      e.commands = {kComposition};
      break;
    case 509:
      e.writes = {Sz(HKCU, kDesktop, L"WindowArrangementActive", L"1"), Dword(HKCU, kDwm, L"CompositionPolicy", 2)};
      e.commands = {kComposition};
      break;
    case 510:
      e.writes = {Dword(HKLM, kMachineDwm, L"EnableAeroPeek", 1), Dword(HKCU, kAdvanced, L"DisablePreviewDesktop", 0),
                  Dword(HKCU, kDwm, L"CompositionPolicy", 2)};
      e.commands = {kComposition};
      break;
  }
  return e;
}

class Group5Test : public MemorySystemTest {
 protected:
  FakeProcesses processes;

 private:
  ScopedProcessControl scopedProcesses_{processes};
};

TEST_F(Group5Test, EveryRepairHasExactlyItsEffects) {
  ExpectEveryRepair(
      IdRange(501, 510), Expected, runner, clock, [this](int) { processes.killed.clear(); },
      [this](int id) {
        std::vector<std::wstring> kills;
        if (id == 503) kills = {L"explorer.exe"};
        EXPECT_EQ(processes.killed, kills);
      });
}

TEST_F(Group5Test, HelpProgramRepairAlwaysSucceedsAndTouchesNothing) {
  registry.DenyAllAccess(RegRoot::LocalMachine, L"");
  registry.DenyAllAccess(RegRoot::CurrentUser, L"");
  runner.SetResult(false);
  for (std::int32_t os : kVersionCodes) EXPECT_TRUE(RunFix(505, FixArgs{os, L"IE8"}));
  EXPECT_TRUE(runner.Commands().empty());
  EXPECT_TRUE(clock.Sleeps().empty());
}

TEST_F(Group5Test, StickyNotesPatchKeepsEverythingButTheLowFlags) {
  const std::pair<std::uint8_t, std::uint8_t> rows[] = {{0x24, 0x23}, {0x2C, 0x23}, {0x0F, 0x03}, {0x00, 0x03},
                                                        {0xFA, 0xF3}, {0x23, 0x23}};
  for (auto [before, after] : rows) {
    SCOPED_TRACE(before);
    registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, ShellState(before));
    EXPECT_TRUE(RunFix(503, FixArgs{}));
    EXPECT_EQ(registry.Get(RegRoot::CurrentUser, kExplorer, L"ShellState")->data, ShellState(after));
  }
}

TEST_F(Group5Test, StickyNotesWithoutExplorerFailsAfterTheWait) {
  registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, ShellState(0x24));
  processes.answer = false;
  EXPECT_FALSE(RunFix(503, FixArgs{}));
  EXPECT_EQ(registry.Get(RegRoot::CurrentUser, kExplorer, L"ShellState")->data, ShellState(0x23));
  EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>{3000});
}

TEST_F(Group5Test, StickyNotesWithoutShellStateStillEndsExplorerAndFails) {
  EXPECT_FALSE(RunFix(503, FixArgs{}));
  EXPECT_EQ(processes.killed, std::vector<std::wstring>{L"explorer.exe"});
  EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>{3000});
  EXPECT_FALSE(registry.Get(RegRoot::CurrentUser, kExplorer, L"ShellState").has_value());

  // Too short to hold the flags byte: nothing is written beyond it.
  registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, {1, 2, 3, 4});
  EXPECT_FALSE(RunFix(503, FixArgs{}));
  EXPECT_EQ(registry.Get(RegRoot::CurrentUser, kExplorer, L"ShellState")->data, (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST_F(Group5Test, StickyNotesDeniedKeyFails) {
  registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, ShellState(0x24));
  registry.DenyFullAccess(RegRoot::CurrentUser, L"Software");
  EXPECT_FALSE(RunFix(503, FixArgs{}));
  EXPECT_EQ(processes.killed.size(), 1u);
  EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>{3000});
}

TEST_F(Group5Test, IconCacheIsDecidedByTheMachineWrite) {
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  EXPECT_FALSE(RunFix(506, FixArgs{}));
  EXPECT_EQ(runner.Commands().size(), 2u);
  RecordingRunner failing;
  ScopedCommandRunner scoped(failing);
  failing.SetResult(false);
  MemoryRegistry fresh;
  ScopedRegistryBackend scopedRegistry(fresh);
  EXPECT_TRUE(RunFix(506, FixArgs{}));
}

TEST_F(Group5Test, CommandRepairsAreDecidedByTheirLastCommand) {
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  registry.DenyFullAccess(RegRoot::CurrentUser, L"");
  for (int id : {501, 502, 504, 507, 508, 509, 510}) {
    SCOPED_TRACE(id);
    const Effects e = Expected(id, 3);
    RecordingRunner commands;
    ScopedCommandRunner scoped(commands);
    // Registry writes that fail along the way are not reported.
    EXPECT_TRUE(RunFix(id, FixArgs{3, L"IE8"}));
    commands.FailCommand(e.commands.back());
    EXPECT_FALSE(RunFix(id, FixArgs{3, L"IE8"}));
    EXPECT_EQ(commands.Commands().size(), 2 * e.commands.size());
  }
  EXPECT_EQ(Narrow(registry.Dump()), "");
}

// The registry reaches the same key either way; the plans still carry the paths as written.
TEST(Group5PlanTest, DwmKeySpellings) {
  const Plan snap = PlanFor(508, FixArgs{});
  const Plan shake = PlanFor(509, FixArgs{});
  ASSERT_EQ(snap.size(), 3u);
  ASSERT_EQ(shake.size(), 3u);
  EXPECT_EQ(Narrow(snap[1].key), Narrow(kDwm + L"\\"));
  EXPECT_EQ(Narrow(shake[1].key), Narrow(kDwm));
}

// --- checks

class Group5CheckTest : public MemorySystemTest {};

TEST_F(Group5CheckTest, WhichIdsHaveChecks) {
  for (int id = 501; id <= 510; ++id) {
    bool expected = id == 502 || id == 503 || id == 508 || id == 509 || id == 510;
    EXPECT_EQ(HasCheck(id), expected) << id;
  }
}

TEST_F(Group5CheckTest, GadgetsAreAlwaysListedWhereAsked) {
  for (std::int32_t os : {1, 3, 6}) EXPECT_TRUE(RunCheck(502, FixArgs{os, L"IE8"}));
  EXPECT_EQ(Narrow(registry.Dump()), "");
}

TEST_F(Group5CheckTest, StickyNotesFlags) {
  for (int low = 0; low < 16; ++low) {
    for (int high : {0x00, 0x20, 0xF0}) {
      SCOPED_TRACE(high | low);
      registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary,
                   ShellState(static_cast<std::uint8_t>(high | low)));
      EXPECT_EQ(RunCheck(503, FixArgs{3, L"IE8"}), low != 3 && low != 10);
    }
  }
}

TEST_F(Group5CheckTest, StickyNotesEdgeValues) {
  registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, ShellState(0x24));
  EXPECT_TRUE(RunCheck(503, FixArgs{3, L"IE8"}));
  registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, ShellState(0x23));
  EXPECT_FALSE(RunCheck(503, FixArgs{3, L"IE8"}));
  registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, ShellState(0x2A));
  EXPECT_FALSE(RunCheck(503, FixArgs{3, L"IE8"}));
  // Nothing to read: no number to test, no problem reported.
  registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, {1, 2, 3, 4});
  EXPECT_FALSE(RunCheck(503, FixArgs{3, L"IE8"}));
  registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, {});
  EXPECT_FALSE(RunCheck(503, FixArgs{3, L"IE8"}));
  MemoryRegistry empty;
  ScopedRegistryBackend scoped(empty);
  EXPECT_FALSE(RunCheck(503, FixArgs{3, L"IE8"}));
}

TEST_F(Group5CheckTest, StickyNotesFixThenCheck) {
  FakeProcesses processes;
  ScopedProcessControl scoped(processes);
  registry.Put(RegRoot::CurrentUser, kExplorer, L"ShellState", RegType::Binary, ShellState(0x24));
  EXPECT_TRUE(RunCheck(503, FixArgs{6, L"IE8"}));
  EXPECT_TRUE(RunFix(503, FixArgs{6, L"IE8"}));
  EXPECT_FALSE(RunCheck(503, FixArgs{6, L"IE8"}));
}

struct AeroRow {
  std::optional<std::wstring> switchText;  // DockMoving / WindowArrangementActive
  std::optional<std::uint32_t> policy;
  bool policyAsText = false;
  bool problem;
};

void RunAeroRows(MemoryRegistry& registry, int id, const std::wstring& switchName, const std::wstring& dwmKey) {
  const AeroRow rows[] = {
      {L"1", 2u, false, false}, {L"1", std::nullopt, false, true}, {std::nullopt, 2u, false, true},
      {L"0", 2u, false, true},  {L"1", 1u, false, true},           {L"1 ", 2u, false, true},
      {L"01", 2u, false, true}, {L"1", 2u, true, true},            {std::nullopt, std::nullopt, false, true},
  };
  for (const AeroRow& r : rows) {
    SCOPED_TRACE(Narrow(r.switchText.value_or(L"<none>")) + " / " +
                 (r.policy ? std::to_string(*r.policy) : "none") + (r.policyAsText ? " as text" : ""));
    MemoryRegistry fresh;
    ScopedRegistryBackend scoped(fresh);
    if (r.switchText) fresh.PutString(RegRoot::CurrentUser, kDesktop, switchName, *r.switchText);
    if (r.policy && r.policyAsText)
      fresh.PutString(RegRoot::CurrentUser, dwmKey, L"CompositionPolicy", std::to_wstring(*r.policy));
    else if (r.policy)
      fresh.PutDword(RegRoot::CurrentUser, dwmKey, L"CompositionPolicy", *r.policy);
    EXPECT_EQ(RunCheck(id, FixArgs{3, L"IE8"}), r.problem);
  }
  // The switch stored as expandable text still reads as text.
  registry.PutString(RegRoot::CurrentUser, kDesktop, switchName, L"1", RegType::ExpandSz);
  registry.PutDword(RegRoot::CurrentUser, dwmKey, L"CompositionPolicy", 2);
  EXPECT_FALSE(RunCheck(id, FixArgs{3, L"IE8"}));
}

TEST_F(Group5CheckTest, AeroSnap) { RunAeroRows(registry, 508, L"DockMoving", kDwm); }
TEST_F(Group5CheckTest, AeroShake) { RunAeroRows(registry, 509, L"WindowArrangementActive", kDwm); }

TEST_F(Group5CheckTest, AeroPeek) {
  struct Row {
    std::optional<std::uint32_t> peek, preview, policy;
    bool problem;
  };
  const Row rows[] = {
      {1u, 0u, 2u, false},           {0u, 0u, 2u, true}, {1u, 1u, 2u, true}, {1u, 0u, 1u, true},
      {std::nullopt, 0u, 2u, true},  {1u, std::nullopt, 2u, true}, {1u, 0u, std::nullopt, true},
  };
  for (const Row& r : rows) {
    MemoryRegistry fresh;
    ScopedRegistryBackend scoped(fresh);
    if (r.peek) fresh.PutDword(RegRoot::LocalMachine, kMachineDwm, L"EnableAeroPeek", *r.peek);
    if (r.preview) fresh.PutDword(RegRoot::CurrentUser, kAdvanced, L"DisablePreviewDesktop", *r.preview);
    if (r.policy) fresh.PutDword(RegRoot::CurrentUser, kDwm, L"CompositionPolicy", *r.policy);
    EXPECT_EQ(RunCheck(510, FixArgs{3, L"IE8"}), r.problem);
  }
  // Without rights on the machine key the peek switch reads as missing.
  registry.PutDword(RegRoot::LocalMachine, kMachineDwm, L"EnableAeroPeek", 1);
  registry.PutDword(RegRoot::CurrentUser, kAdvanced, L"DisablePreviewDesktop", 0);
  registry.PutDword(RegRoot::CurrentUser, kDwm, L"CompositionPolicy", 2);
  EXPECT_FALSE(RunCheck(510, FixArgs{3, L"IE8"}));
  registry.DenyFullAccess(RegRoot::LocalMachine, L"SOFTWARE");
  EXPECT_TRUE(RunCheck(510, FixArgs{3, L"IE8"}));
}

TEST_F(Group5CheckTest, AeroFixThenCheck) {
  for (int id : {508, 509, 510}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(RunCheck(id, FixArgs{3, L"IE8"}));
    EXPECT_TRUE(RunFix(id, FixArgs{3, L"IE8"}));
    EXPECT_FALSE(RunCheck(id, FixArgs{3, L"IE8"}));
  }
}

}  // namespace
}  // namespace corrivo::testing
