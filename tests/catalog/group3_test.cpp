// Repairs and checks 301-310 through the catalogue, against the memory registry.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/fixes.h"
#include "tests/catalog/repairs_effects.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring HKCR = L"HKEY_CLASSES_ROOT";
const std::wstring HKCU = L"HKEY_CURRENT_USER";
const std::wstring HKLM = L"HKEY_LOCAL_MACHINE";
const std::wstring kPolicy = L"\\SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer";
const std::wstring kPreferences = L"\\Software\\Microsoft\\MediaPlayer\\Preferences";

std::vector<RegValue> VistaProgIds() {
  const std::vector<std::pair<std::wstring, std::wstring>> rows = {
      {L"{CD3AFA71-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WMZ"},
      {L"{CD3AFA72-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.AIFF"},
      {L"{CD3AFA73-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.AU"},
      {L"{CD3AFA74-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MIDI"},
      {L"{CD3AFA76-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MP3"},
      {L"{CD3AFA77-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MP3"},
      {L"{CD3AFA78-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MPU"},
      {L"{CD3AFA7B-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WAV"},
      {L"{CD3AFA83-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WAV"},
      {L"{CD3AFA84-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WMA"},
      {L"{CD3AFA88-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.AVI"},
      {L"{CD3AFA89-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MPEG"},
      {L"{CD3AFA8F-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.ASX"},
      {L"{CD3AFA90-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.ASX"},
      {L"{CD3AFA92-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.ASF"},
      {L"{CD3AFA93-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.ASX"},
      {L"{CD3AFA94-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WMV"},
      {L"{CD3AFA95-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WVX"},
      {L"{EE4DA6A4-8C52-4a63-BBB8-97C93D7E1B6C}", L"WMP11.AssocFile.WMD"},
  };
  std::vector<RegValue> out;
  for (const auto& [clsid, progId] : rows) out.push_back(Sz(HKCR, L"\\CLSID\\" + clsid + L"\\ProgID", L"", progId));
  return out;
}

Effects Expected(int id, std::int32_t os) {
  Effects e;
  switch (id) {
    case 301: e.commands = {L"/c regsvr32 /s jscript.dll", L"/c regsvr32 /s vbscript.dll"}; break;
    case 302:
      if (os == 1) e.writes = VistaProgIds();
      e.commands = {L"/c regsvr32 /s wmp.dll"};
      break;
    case 303: e.commands = {L"/c regsvr32 /s WMPhoto.dll"}; break;
    case 304:
      e.writes = {Dword(HKLM, L"\\SOFTWARE\\Clients\\Media\\Windows Media Player\\Capabilities\\", L"Hidden", 0),
                  Dword(HKLM, L"\\SOFTWARE\\Clients\\Media\\Windows Media Player\\InstallInfo\\", L"IconsVisible", 1)};
      break;
    case 305: e.commands = {L"/c regsvr32 /s wmpcm.dll"}; break;
    case 306: e.commands = {L"/c UNREGMP2.EXE /UPDATEWMPVERSION"}; break;
    case 307:
      e.commands = {L"/c net stop WMPNetworkSvc", L"/c RD  /S /Q \"%Userprofile%\\AppData\\Local\\Microsoft\\Media Player\"",
                    L"/c MKDIR \"%Userprofile%\\AppData\\Local\\Microsoft\\Media Player\"", L"/c net start WMPNetworkSvc"};
      break;
    case 308: e.writes = {Dword(HKLM, kPolicy, L"DisableAutoUpdate", 0)}; break;
    case 309: e.commands = {L"/c Del /Q %ProgramData%\\Microsoft\\eHome\\*.db"}; break;
    case 310: e.deletedValues = {{HKCU, kPreferences, L"RestrictFlash"}}; break;
  }
  return e;
}

class Group3Test : public MemorySystemTest {};

TEST_F(Group3Test, EveryRepairHasExactlyItsEffectsOnEveryVersion) {
  ExpectEveryRepair(IdRange(301, 310), Expected, runner, clock);
}

TEST_F(Group3Test, VistaProgIdsKeepTheirLetterCase) {
  EXPECT_TRUE(Fix302(1));
  std::vector<std::wstring> keys = registry.SubKeys(RegRoot::ClassesRoot, L"CLSID");
  EXPECT_EQ(keys.size(), 19u);
  EXPECT_NE(std::find(keys.begin(), keys.end(), L"{EE4DA6A4-8C52-4a63-BBB8-97C93D7E1B6C}"), keys.end());
  EXPECT_NE(std::find(keys.begin(), keys.end(), L"{CD3AFA7B-B84F-48F0-9393-7EDC34128127}"), keys.end());
}

TEST_F(Group3Test, Fix302OnWindows7OnlyRegistersThePlayer) {
  EXPECT_TRUE(Fix302(3));
  EXPECT_EQ(registry.Dump(), L"");
  EXPECT_EQ(runner.Commands(), std::vector<std::wstring>{L"/c regsvr32 /s wmp.dll"});
}

TEST_F(Group3Test, Fix302IgnoresItsWritesResults) {
  registry.DenyFullAccess(RegRoot::ClassesRoot, L"");
  EXPECT_TRUE(Fix302(1));
  EXPECT_EQ(registry.Dump(), L"");
  runner.SetResult(false);
  EXPECT_FALSE(Fix302(1));
}

TEST_F(Group3Test, Fix304IgnoresItsFirstWrite) {
  registry.PutKey(RegRoot::LocalMachine, L"SOFTWARE\\Clients\\Media\\Windows Media Player\\Capabilities");
  registry.DenyFullAccess(RegRoot::LocalMachine, L"SOFTWARE\\Clients\\Media\\Windows Media Player\\Capabilities");
  EXPECT_TRUE(Fix304(false));
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  EXPECT_FALSE(Fix304(false));
}

TEST_F(Group3Test, Fix307TwiceLaunchesEightCommandsWithoutWaiting) {
  EXPECT_TRUE(Fix307());
  EXPECT_TRUE(Fix307());
  EXPECT_EQ(runner.Commands().size(), 8u);
  EXPECT_TRUE(clock.Sleeps().empty());
}

TEST_F(Group3Test, Fix310WithoutPreferencesKeyCreatesNothing) {
  EXPECT_TRUE(Fix310());
  EXPECT_EQ(registry.Dump(), L"");
}

TEST_F(Group3Test, LastCommandDecides) {
  for (int id : {301, 302, 303, 305, 306, 307, 309}) {
    SCOPED_TRACE(id);
    Effects e = Expected(id, 3);
    RecordingRunner last;
    ScopedCommandRunner scoped(last);
    last.FailCommand(e.commands.back());
    EXPECT_FALSE(RunFix(id, FixArgs{3, L"IE8"}));
    if (e.commands.size() > 1) {
      RecordingRunner first;
      ScopedCommandRunner scopedFirst(first);
      first.FailCommand(e.commands.front());
      EXPECT_TRUE(RunFix(id, FixArgs{3, L"IE8"}));
      EXPECT_EQ(first.Commands(), e.commands);
    }
  }
}

TEST_F(Group3Test, MachineKeyDenied) {
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  EXPECT_FALSE(Fix304(false));
  EXPECT_FALSE(Fix308());
  EXPECT_TRUE(Check308());
  for (int id : {301, 302, 303, 305, 306, 307, 309, 310}) EXPECT_TRUE(RunFix(id, FixArgs{1, L"IE8"})) << id;
}

// --- checks

class Group3CheckTest : public MemorySystemTest {};

TEST_F(Group3CheckTest, ConstantChecksOnEveryVersion) {
  for (std::int32_t os : kVersionCodes) {
    for (int id : {301, 302, 303, 304, 305, 307}) EXPECT_TRUE(RunCheck(id, FixArgs{os, L"IE8"})) << id << " os " << os;
    EXPECT_TRUE(Check302(os));
  }
  EXPECT_TRUE(Check301());
  EXPECT_TRUE(Check303());
  EXPECT_TRUE(Check304());
  EXPECT_TRUE(Check305());
  EXPECT_TRUE(Check307());
  EXPECT_EQ(registry.Dump(), L"");
}

TEST_F(Group3CheckTest, RepairsWithoutChecks) {
  for (int id : {306, 309, 310}) {
    EXPECT_FALSE(HasCheck(id));
    EXPECT_FALSE(RunCheck(id, FixArgs{}));
  }
}

TEST_F(Group3CheckTest, Check308) {
  EXPECT_TRUE(Check308()) << "absent";
  registry.PutDword(RegRoot::LocalMachine, kPolicy, L"DisableAutoUpdate", 1);
  EXPECT_TRUE(Check308());
  registry.PutDword(RegRoot::LocalMachine, kPolicy, L"DisableAutoUpdate", 0);
  EXPECT_FALSE(Check308());
  registry.PutString(RegRoot::LocalMachine, kPolicy, L"DisableAutoUpdate", L"0");
  EXPECT_TRUE(Check308()) << "text";
  registry.PutDword(RegRoot::LocalMachine, kPolicy, L"DisableAutoUpdate", 2147483647u);
  EXPECT_TRUE(Check308()) << "sentinel";
  EXPECT_TRUE(Fix308());
  EXPECT_FALSE(Check308());
}

}  // namespace
}  // namespace corrivo::testing
