// Repairs 601-616, run through the catalogue against the memory registry.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "tests/catalog/repairs_effects.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring HKCR = L"HKEY_CLASSES_ROOT";
const std::wstring HKCU = L"HKEY_CURRENT_USER";
const std::wstring kClassic =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\ClassicStartMenu";
const std::wstring kNewPanel = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
const std::wstring kStuckRects = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects";
const std::wstring kStuckRects2 = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects2";

std::vector<RegValue> ShownUnderBoth(const std::wstring& classId) {
  return {Dword(HKCU, kClassic, classId, 0), Dword(HKCU, kNewPanel, classId, 0)};
}

Effects Expected(int id, std::int32_t os) {
  Effects e;
  switch (id) {
    case 601:
    case 604:
    case 610:
    case 615: break;
    case 602: e.writes = {Sz(HKCR, L"\\lnkfile", L"IsShortCut", L""), Sz(HKCR, L"\\piffile", L"IsShortCut", L"")}; break;
    case 603: e.deletedKeys = {{HKCU, kStuckRects, L""}, {HKCU, kStuckRects2, L""}}; break;
    case 605: e.commands = {L"/c regsvr32 /s /n /i:u shell32.dll"}; break;
    case 606: e.writes = ShownUnderBoth(L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}"); break;
    case 607:
      e.writes = ShownUnderBoth(os == 0 ? L"{450d8fba-ad25-11d0-98a8-0800361b1103}"
                                        : L"{59031a47-3f72-44a7-89c5-5595fe6b30ee}");
      break;
    case 608:
      e.writes = ShownUnderBoth(os == 0 ? L"{208D2C60-3AEA-1069-A2D7-08002B30309D}"
                                        : L"{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}");
      break;
    case 609:
      e.writes = {Sz(HKCU,
                     L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MountPoints2\\{4841aa62-0165-11de-"
                     L"ad9f-806d6172696f}",
                     L"BaseClass", L"Drive"),
                  Sz(HKCU, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Fonts",
                     L"%SystemRoot%\\Fonts")};
      break;
    case 611:
      e.writes = {Sz(HKCR, L"\\Directory\\Background\\shellex\\ContextMenuHandlers\\New", L"",
                     L"{D969A300-E7FF-11d0-A93B-00A0C90F2719}")};
      break;
    case 612:
      e.writes = {Sz(HKCR, L"\\AllFilesystemObjects\\shellex\\ContextMenuHandlers\\Send To", L"",
                     L"{7BA4C740-9E81-11CF-99D3-00AA004AE837}")};
      break;
    case 613:
      e.commands = {L"/c Regsvr32.exe /s /i shdocvw.dll", L"/c Regsvr32.exe /s /i shell32.dll",
                    L"/c Regsvr32.exe /s /i shdoc401.dll"};
      break;
    case 614: e.writes = {Sz(HKCR, L"\\exefile\\shell\\open\\command", L"", L"\"%1\" %*")}; break;
    case 616:
      e.commands = {L"/csc delete msiserver",
                    L"/csc Create msiserver binPath= \"%SystemRoot%\\system32\\msiexec.exe /V\" start= auto "
                    L"DisplayName= \"Windows Installer\"",
                    L"/c %SystemRoot%\\system32\\msiexec.exe /regserver"};
      break;
  }
  return e;
}

class Group6Test : public MemorySystemTest {};

TEST_F(Group6Test, EveryRepairHasExactlyItsEffects) {
  ExpectEveryRepair(IdRange(601, 616), Expected, runner, clock);
}

TEST_F(Group6Test, ExactTexts) {
  // The open command is seven characters: quote, %, 1, quote, blank, %, asterisk.
  const Plan plan = PlanFor(614, FixArgs{});
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].text.size(), 7u);
  EXPECT_EQ(plan[0].kind, StepKind::WriteString);
  // 602 leaves an empty REG_SZ, not a missing or binary value.
  RunFix(602, FixArgs{});
  for (const wchar_t* key : {L"lnkfile", L"piffile"}) {
    RegType type = RegType::None;
    auto text = registry.GetString(RegRoot::ClassesRoot, key, L"IsShortCut", &type);
    ASSERT_TRUE(text.has_value()) << Narrow(key);
    EXPECT_EQ(text->size(), 0u);
    EXPECT_EQ(type, RegType::Sz);
  }
}

TEST_F(Group6Test, DoNothingRepairsSucceedWhateverHappens) {
  registry.DenyAllAccess(RegRoot::CurrentUser, L"");
  registry.DenyAllAccess(RegRoot::ClassesRoot, L"");
  runner.SetResult(false);
  for (int id : {601, 604, 610, 615}) {
    for (std::int32_t os : kVersionCodes) EXPECT_TRUE(RunFix(id, FixArgs{os, L"IE8"})) << id;
  }
  EXPECT_TRUE(runner.Commands().empty());
  EXPECT_EQ(Narrow(registry.Dump()), "");
}

TEST_F(Group6Test, TaskbarWithOnlyTheSecondKey) {
  registry.PutDword(RegRoot::CurrentUser, kStuckRects2, L"Settings", 1);
  EXPECT_TRUE(RunFix(603, FixArgs{}));
  EXPECT_FALSE(registry.HasKey(RegRoot::CurrentUser, kStuckRects2));
}

TEST_F(Group6Test, TaskbarIsDecidedByTheSecondKey) {
  registry.PutDword(RegRoot::CurrentUser, kStuckRects, L"Settings", 1);
  registry.PutDword(RegRoot::CurrentUser, kStuckRects2, L"Settings", 1);
  registry.DenyFullAccess(RegRoot::CurrentUser, kStuckRects2);
  EXPECT_FALSE(RunFix(603, FixArgs{}));
  EXPECT_FALSE(registry.HasKey(RegRoot::CurrentUser, kStuckRects));

  MemoryRegistry other;
  ScopedRegistryBackend scoped(other);
  other.PutDword(RegRoot::CurrentUser, kStuckRects, L"Settings", 1);
  other.PutDword(RegRoot::CurrentUser, kStuckRects2, L"Settings", 1);
  other.DenyFullAccess(RegRoot::CurrentUser, kStuckRects);
  EXPECT_TRUE(RunFix(603, FixArgs{}));
  EXPECT_FALSE(other.HasKey(RegRoot::CurrentUser, kStuckRects2));
}

TEST_F(Group6Test, TwoWriteRepairsAreDecidedByTheSecondWrite) {
  // The classic key cannot be written: the new-panel write still happens and decides.
  registry.DenyFullAccess(RegRoot::CurrentUser, kClassic);
  registry.PutKey(RegRoot::CurrentUser, kClassic);
  for (int id : {606, 607, 608}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(RunFix(id, FixArgs{3, L"IE8"}));
    EXPECT_EQ(registry.ValueNames(RegRoot::CurrentUser, kClassic).size(), 0u);
  }
  EXPECT_EQ(registry.ValueNames(RegRoot::CurrentUser, kNewPanel).size(), 3u);

  MemoryRegistry other;
  ScopedRegistryBackend scoped(other);
  other.PutKey(RegRoot::CurrentUser, kNewPanel);
  other.DenyFullAccess(RegRoot::CurrentUser, kNewPanel);
  for (int id : {606, 607, 608}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(RunFix(id, FixArgs{0, L"IE8"}));
  }
  EXPECT_EQ(other.ValueNames(RegRoot::CurrentUser, kClassic).size(), 3u);
}

TEST_F(Group6Test, ClassesRootDeniedFailsTheWriteRepairs) {
  registry.DenyFullAccess(RegRoot::ClassesRoot, L"");
  for (int id : {602, 611, 612, 614}) EXPECT_FALSE(RunFix(id, FixArgs{})) << id;
  EXPECT_TRUE(RunFix(609, FixArgs{}));
}

TEST_F(Group6Test, CommandRepairsAreDecidedByTheirLastCommand) {
  for (int id : {605, 613, 616}) {
    SCOPED_TRACE(id);
    const Effects e = Expected(id, 3);
    if (e.commands.size() > 1) {
      RecordingRunner commands;
      ScopedCommandRunner scoped(commands);
      commands.FailCommand(e.commands.front());
      EXPECT_TRUE(RunFix(id, FixArgs{}));
    }
    RecordingRunner failing;
    ScopedCommandRunner scopedFailing(failing);
    failing.FailCommand(e.commands.back());
    EXPECT_FALSE(RunFix(id, FixArgs{}));
    EXPECT_EQ(failing.Commands().size(), e.commands.size());
  }
}

}  // namespace
}  // namespace corrivo::testing
