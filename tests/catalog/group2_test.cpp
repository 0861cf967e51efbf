// Repairs and checks 201-210 through the catalogue, against the memory registry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "catalog/catalog.h"
#include "catalog/fixes.h"
#include "catalog/step_backend.h"
#include "sysaccess/memory/host_platform.h"
#include "sysaccess/text.h"
#include "tests/catalog/fake_step_backend.h"
#include "tests/catalog/repairs_effects.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring HKCU = L"HKEY_CURRENT_USER";
const std::wstring HKLM = L"HKEY_LOCAL_MACHINE";
const std::wstring kIE = L"{871C5380-42A0-1069-A2EA-08002B30309D}";
const std::wstring kClassic = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\ClassicStartMenu";
const std::wstring kNew = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
const std::wstring kMain = L"\\Software\\Microsoft\\Internet Explorer\\Main";
const std::wstring kRestrictions = L"\\Software\\Policies\\Microsoft\\Internet Explorer\\Restrictions";

// The per-script fonts, as the repair must write them.
struct Fonts {
  int script;
  std::wstring fixed, proportional;
};
std::vector<Fonts> ScriptFonts() {
  std::vector<Fonts> f;
  for (int s : {3, 4, 5, 6}) f.push_back({s, L"Courier New", L"Times New Roman"});
  const std::vector<Fonts> rest = {
      {7, L"Sylfaen", L"Sylfaen"},
      {8, L"Miriam Fixed", L"David"},
      {9, L"Simplified Arabic Fixed", L"Simplified Arabic"},
      {10, L"Mangal", L"Mangal"},
      {11, L"Vrinda", L"Vrinda"},
      {12, L"Raavi", L"Raavi"},
      {13, L"Shruti", L"Shruti"},
      {14, L"Kalinga", L"Kalinga"},
      {15, L"Latha", L"Latha"},
      {16, L"Gautami", L"Gautami"},
      {17, L"Tunga", L"Tunga"},
      {18, L"Kartika", L"Kartika"},
      {19, L"Tahoma", L"Tahoma"},
      {20, L"DokChampa", L"DokChampa"},
      {21, L"Microsoft Himalaya", L"Microsoft Himalaya"},
      {22, L"Sylfaen", L"Sylfaen"},
      {23, L"GulimChe", L"GulimChe"},
      {24, L"MS Gothic", L"MS PGothic"},
      {25, L"MingLiu", L"PMingLiu"},
      {26, L"NSimsun", L"Simsun"},
      {27, L"Nyala", L"Nyala"},
      {28, L"Euphemia", L"Euphemia"},
      {29, L"Plantagenet Cherokee", L"Plantagenet Cherokee"},
      {30, L"Microsoft Yi Baiti", L"Microsoft Yi Baiti"},
      {34, L"Iskoola Pota", L"Iskoola Pota"},
      {35, L"Estrangelo Edessa", L"Estrangelo Edessa"},
      {37, L"DaunPenh", L"DaunPenh"},
      {38, L"MV Boli", L"MV Boli"},
      {39, L"Mongolian Baiti", L"Mongolian Baiti"},
  };
  f.insert(f.end(), rest.begin(), rest.end());
  return f;
}

std::wstring ScriptKey(int script) {
  return L"\\Software\\Microsoft\\Internet Explorer\\International\\Scripts\\" + std::to_wstring(script);
}

std::vector<RegValue> FirstRun(const std::wstring& ie) {
  return {Dword(HKCU, kMain, L"RunOnceHasShown", 1), Dword(HKCU, kMain, L"RunOnceComplete", 1),
          Dword(HKCU, kMain, ie + L"RunOnceLastShown", 1), Dword(HKCU, kMain, ie + L"RunOncePerInstallCompleted", 1),
          Dword(HKCU, kMain, ie + L"TourShown", 1)};
}

Effects Expected(int id, std::int32_t os, const std::wstring& ie) {
  Effects e;
  switch (id) {
    case 201:
      if (os != 3 && os != 6) e.writes = {Dword(HKCU, kClassic, kIE, 1), Dword(HKCU, kNew, kIE, 0)};
      break;
    case 202: e.writes = FirstRun(ie); break;
    case 203: e.commands = {L"/c regsvr32 /n /i /s  inetcpl.cpl"}; break;
    case 204: {
      const std::wstring settings = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
      const std::wstring features = L"\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\";
      e.writes = {Dword(HKLM, settings, L"MaxConnectionsPer1_0Server", 10), Dword(HKLM, settings, L"MaxConnectionsPerServer", 10),
                  Dword(HKLM, features + L"FEATURE_MAXCONNECTIONSPER1_0SERVER", L"iexplore.exe", 10),
                  Dword(HKLM, features + L"FEATURE_MAXCONNECTIONSPERSERVER", L"iexplore.exe", 10)};
      break;
    }
    case 205:
      e.writes = FirstRun(ie);
      e.writes.insert(e.writes.begin(), Sz(HKCU, kMain, L"Start Page", L"about:blank"));
      break;
    case 206:
      e.writes = {Sz(HKCU, kMain, L"Disable Script Debugger", L"yes"), Sz(HKCU, kMain, L"DisableScriptDebuggerIE", L"yes"),
                  Sz(HKCU, kMain, L"Error Dlg Displayed On Every Error", L"no")};
      break;
    case 207: e.commands = {L"/c netsh int ip reset"}; break;
    case 208:
      for (const Fonts& f : ScriptFonts()) {
        e.writes.push_back(Sz(HKCU, ScriptKey(f.script), L"IEFixedFontName", f.fixed));
        e.writes.push_back(Sz(HKCU, ScriptKey(f.script), L"IEPropFontName", f.proportional));
      }
      // The scripts it skips keep what they hold.
      for (int s : {31, 32, 33, 36}) e.before.push_back(Sz(HKCU, ScriptKey(s), L"IEFixedFontName", L"Keep Me"));
      break;
    case 209: break;
    case 210: e.deletedValues = {{HKLM, kRestrictions, L"NoBrowserContextMenu"}, {HKCU, kRestrictions, L"NoBrowserContextMenu"}}; break;
  }
  return e;
}

class Group2Test : public MemorySystemTest {
 protected:
  void SetUp() override {
    host::SetProgramFileName(L"C:\\Tools\\Corrivo.exe");
    host::SetFolder(-3, L"C:\\Windows\\system32");
  }
  void TearDown() override {
    host::SetProgramFileName(L"");
    host::SetFolder(-3, L"");
  }
  FakeSpecialBackend specials;
  ScopedSpecialStepBackend scopedSpecials{specials};
};

TEST_F(Group2Test, EveryRepairHasExactlyItsEffectsOnEveryVersionAndBrowser) {
  for (int id = 201; id <= 210; ++id) {
    for (std::int32_t os : kVersionCodes) {
      for (const wchar_t* ie : {L"IE8", L"IE9", L"IE10"}) {
        SCOPED_TRACE("Fix" + std::to_string(id) + " os " + std::to_string(os) + " " + Narrow(ie));
        Effects e = Expected(id, os, ie);
        MemoryRegistry fresh;
        ScopedRegistryBackend scoped(fresh);
        runner.Clear();
        clock.ClearSleeps();
        specials = FakeSpecialBackend{};
        Arrange(fresh, e);
        bool result = RunFix(id, FixArgs{os, ie});
        ExpectEffects(fresh, runner, clock, result, e);
        // Only 201 on Windows 7 and 8 makes shortcuts; only 205 asks about pagelock; only 209 resets.
        EXPECT_EQ(specials.events.empty() ? 0u : 1u, (id == 201 && (os == 3 || os == 6)) || id == 205 || id == 209 ? 1u : 0u);
      }
    }
  }
}

TEST_F(Group2Test, Fix208WritesSixtySixValuesAndDecidesOnTheLast) {
  Plan plan = PlanFor(208, FixArgs{});
  EXPECT_EQ(plan.size(), 66u);
  EXPECT_EQ(plan.back().key, ScriptKey(39));
  EXPECT_EQ(plan.back().name, L"IEPropFontName");
  // An earlier failing script key does not decide; the last one does.
  registry.PutKey(RegRoot::CurrentUser, ScriptKey(3));
  registry.DenyFullAccess(RegRoot::CurrentUser, ScriptKey(3));
  EXPECT_TRUE(Fix208());
  registry.PutKey(RegRoot::CurrentUser, ScriptKey(39));
  registry.DenyFullAccess(RegRoot::CurrentUser, ScriptKey(39));
  EXPECT_FALSE(Fix208());
  EXPECT_EQ(registry.GetString(RegRoot::CurrentUser, ScriptKey(38), L"IEPropFontName"), L"MV Boli");
}

TEST_F(Group2Test, UnknownBrowserNameCountsAsIE8) {
  EXPECT_TRUE(Fix202(L"IE11"));
  EXPECT_EQ(registry.GetDword(RegRoot::CurrentUser, kMain, L"IE8TourShown"), 1u);
  EXPECT_EQ(registry.ValueNames(RegRoot::CurrentUser, kMain).size(), 5u);
}

TEST_F(Group2Test, Fix210SucceedsWhenNeitherValueExists) {
  EXPECT_TRUE(Fix210());
  EXPECT_EQ(registry.Dump(), L"");
}

TEST_F(Group2Test, MachineKeyDenied) {
  registry.PutDword(RegRoot::LocalMachine, kRestrictions, L"NoBrowserContextMenu", 1);
  registry.PutDword(RegRoot::CurrentUser, kRestrictions, L"NoBrowserContextMenu", 1);
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  EXPECT_FALSE(Fix204());
  // 210's machine delete fails, the user delete decides.
  EXPECT_TRUE(Fix210());
  EXPECT_TRUE(registry.Get(RegRoot::LocalMachine, kRestrictions, L"NoBrowserContextMenu").has_value());
  EXPECT_FALSE(registry.Get(RegRoot::CurrentUser, kRestrictions, L"NoBrowserContextMenu").has_value());
  // The machine key cannot be opened for full access, so its value is not seen.
  EXPECT_FALSE(Check210());
  for (int id : {201, 202, 203, 205, 206, 207, 208, 209}) EXPECT_TRUE(RunFix(id, FixArgs{0, L"IE8"})) << id;
}

TEST_F(Group2Test, UserKeyDenied) {
  registry.DenyFullAccess(RegRoot::CurrentUser, L"");
  for (int id : {202, 205, 206, 208}) EXPECT_FALSE(RunFix(id, FixArgs{0, L"IE8"})) << id;
  EXPECT_FALSE(Fix201(0));
  EXPECT_TRUE(Fix201(3)) << "the shortcuts report success whatever happens";
  EXPECT_TRUE(Fix209());
  EXPECT_TRUE(Fix204());
}

TEST_F(Group2Test, LastCommandDecides) {
  runner.SetResult(false);
  EXPECT_FALSE(Fix203());
  EXPECT_FALSE(Fix207());
  EXPECT_EQ(runner.Commands(), (std::vector<std::wstring>{L"/c regsvr32 /n /i /s  inetcpl.cpl", L"/c netsh int ip reset"}));
}

// --- checks

class Check201Test : public MemorySystemTest {
 protected:
  void SetUp() override { host::SetFolder(16, desktop.path()); }
  void TearDown() override { host::SetFolder(16, L""); }
  void Touch(const std::wstring& name) {
    std::ofstream(WideToUtf8(desktop.path() + L"/" + name)) << "x";
  }
  TempDir desktop;
};

TEST_F(Check201Test, RegistryRule) {
  EXPECT_TRUE(Check201()) << "nothing at all";
  registry.PutDword(RegRoot::CurrentUser, kClassic, kIE, 1);
  EXPECT_TRUE(Check201()) << "NewStartPanel absent is not 0";
  registry.PutDword(RegRoot::CurrentUser, kNew, kIE, 0);
  EXPECT_FALSE(Check201());
  registry.PutDword(RegRoot::CurrentUser, kClassic, kIE, 0);
  EXPECT_TRUE(Check201());
  registry.PutDword(RegRoot::CurrentUser, kClassic, kIE, 1);
  registry.PutDword(RegRoot::CurrentUser, kNew, kIE, 1);
  EXPECT_TRUE(Check201());
  registry.PutString(RegRoot::CurrentUser, kNew, kIE, L"0");
  EXPECT_TRUE(Check201()) << "a text 0 is no DWORD";
}

TEST_F(Check201Test, AnyDesktopEntryNamedInternetExplorerCounts) {
  for (const wchar_t* name : {L"Internet Explorer.lnk", L"internet explorer.url", L"My INTERNET EXPLORER copy", L"xInternet Explorerx.txt"}) {
    SCOPED_TRACE(Narrow(name));
    TempDir folder;
    host::SetFolder(16, folder.path());
    std::ofstream(WideToUtf8(folder.path() + L"/" + name)) << "x";
    EXPECT_FALSE(Check201());
  }
  // A folder counts as an entry too.
  std::filesystem::create_directory(WideToUtf8(desktop.path() + L"/Internet Explorer"));
  host::SetFolder(16, desktop.path());
  EXPECT_FALSE(Check201());
}

TEST_F(Check201Test, TheRepairsOwnShortcutNameDoesNotCount) {
  Touch(L"Internet Explore.lnk");
  Touch(L"Internet-Explorer.lnk");
  EXPECT_TRUE(Check201());
}

TEST_F(Check201Test, MissingDesktopFolder) {
  host::SetFolder(16, desktop.path() + L"/absent");
  EXPECT_TRUE(Check201());
  host::SetFolder(16, L"");
  EXPECT_TRUE(Check201());
}

TEST_F(Check201Test, FixThenCheck) {
  EXPECT_TRUE(Fix201(0));
  EXPECT_FALSE(Check201());
  MemoryRegistry fresh;
  ScopedRegistryBackend scoped(fresh);
  EXPECT_TRUE(Fix201(1));
  EXPECT_FALSE(Check201());
}

class Group2CheckTest : public MemorySystemTest {};

TEST_F(Group2CheckTest, Check203IsAlwaysTrue) {
  EXPECT_TRUE(Check203());
  EXPECT_TRUE(Fix203());
  EXPECT_TRUE(Check203());
}

TEST_F(Group2CheckTest, Check206) {
  struct Row {
    const wchar_t* debugger;
    const wchar_t* debuggerIE;
    const wchar_t* dialogs;
    bool problem;
  };
  const Row rows[] = {
      {L"yes", L"yes", L"no", false},  {L"YES", L"Yes", nullptr, false}, {L"yEs", L"YES", L"NO", false},
      {L"yes", L"yes", L"No", false},  {L"yes", L"yes", L"", false},     {nullptr, L"yes", L"no", true},
      {L"yes", nullptr, L"no", true},  {L"no", L"yes", L"no", true},     {L"yes", L"no", L"no", true},
      {L"yes", L"yes", L"yes", true},  {L"yes ", L"yes", L"no", true},   {L"yes", L"yes", L"nope", true},
      {nullptr, nullptr, nullptr, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(Narrow(std::wstring(r.debugger ? r.debugger : L"-") + L"/" + (r.debuggerIE ? r.debuggerIE : L"-") + L"/" +
                        (r.dialogs ? r.dialogs : L"-")));
    MemoryRegistry fresh;
    ScopedRegistryBackend scoped(fresh);
    if (r.debugger) fresh.PutString(RegRoot::CurrentUser, kMain, L"Disable Script Debugger", r.debugger);
    if (r.debuggerIE) fresh.PutString(RegRoot::CurrentUser, kMain, L"DisableScriptDebuggerIE", r.debuggerIE);
    if (r.dialogs) fresh.PutString(RegRoot::CurrentUser, kMain, L"Error Dlg Displayed On Every Error", r.dialogs);
    EXPECT_EQ(Check206(), r.problem);
  }
  registry.PutDword(RegRoot::CurrentUser, kMain, L"Disable Script Debugger", 1);
  registry.PutString(RegRoot::CurrentUser, kMain, L"DisableScriptDebuggerIE", L"yes");
  EXPECT_TRUE(Check206()) << "a DWORD is no text";
  EXPECT_TRUE(Fix206());
  EXPECT_FALSE(Check206());
}

TEST_F(Group2CheckTest, Check210) {
  EXPECT_FALSE(Check210());
  registry.PutKey(RegRoot::LocalMachine, kRestrictions);
  registry.PutKey(RegRoot::CurrentUser, kRestrictions);
  EXPECT_FALSE(Check210()) << "keys without the value";
  registry.PutString(RegRoot::CurrentUser, kRestrictions, L"NoBrowserContextMenu", L"");
  EXPECT_TRUE(Check210()) << "present with any data";
  EXPECT_TRUE(Fix210());
  EXPECT_FALSE(Check210());
  registry.PutDword(RegRoot::LocalMachine, kRestrictions, L"NoBrowserContextMenu", 0);
  EXPECT_TRUE(Check210());
  EXPECT_TRUE(Fix210());
  EXPECT_FALSE(Check210());
}

TEST_F(Group2CheckTest, RepairsWithoutChecks) {
  for (int id : {202, 204, 205, 207, 208, 209}) {
    EXPECT_FALSE(HasCheck(id)) << id;
    EXPECT_FALSE(RunCheck(id, FixArgs{})) << id;
  }
}

}  // namespace
}  // namespace corrivo::testing
