// The special steps of 201, 205 and 209 against a recording backend: what is created, loaded,
// called and written, in which order, and what each failure leads to.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/fixes.h"
#include "catalog/step_backend.h"
#include "sysaccess/memory/host_platform.h"
#include "tests/catalog/fake_step_backend.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring kShellFolders = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::wstring kIEMain = L"Software\\Microsoft\\Internet Explorer\\Main";

class SpecialStepsTest : public MemorySystemTest {
 protected:
  void SetUp() override {
    host::SetFolder(38, L"C:\\Program Files");
    host::SetFolder(-3, L"C:\\Windows\\system32");
    host::SetProgramFileName(L"C:\\Tools\\Corrivo\\Corrivo.exe");
  }
  void TearDown() override {
    host::SetFolder(38, L"");
    host::SetFolder(-3, L"");
    host::SetProgramFileName(L"");
  }

  FakeSpecialBackend specials;
  ScopedSpecialStepBackend scopedSpecials{specials};
};

// --- 201

TEST_F(SpecialStepsTest, ShortcutsOnWindows7And8GoToDesktopAndStartMenu) {
  for (std::int32_t os : {3, 6}) {
    SCOPED_TRACE(os);
    specials = FakeSpecialBackend{};
    registry.PutString(RegRoot::CurrentUser, kShellFolders, L"Desktop", L"C:\\Users\\u\\Desktop");
    registry.PutString(RegRoot::CurrentUser, kShellFolders, L"Start Menu", L"C:\\Users\\u\\Start Menu");
    std::wstring before = registry.Dump();
    EXPECT_TRUE(Fix201(os));
    ASSERT_EQ(specials.links.size(), 1u);
    EXPECT_EQ(specials.links[0].target, L"C:\\Program Files\\Internet Explorer\\iexplore.exe");
    EXPECT_EQ(specials.links[0].workingDirectory, L"C:\\Program Files\\Internet Explorer\\");
    EXPECT_EQ(specials.links[0].description, L"Micsoft Internet Explorer");
    EXPECT_EQ(specials.events, (std::vector<std::wstring>{L"CreateShellLink", L"Save C:\\Users\\u\\Desktop\\Internet Explore.lnk",
                                                          L"Save C:\\Users\\u\\Start Menu\\Internet Explore.lnk"}));
    EXPECT_EQ(registry.Dump(), before);
    EXPECT_TRUE(runner.Commands().empty());
  }
}

TEST_F(SpecialStepsTest, ShortcutFoldersAreReadJustBeforeEachSave) {
  registry.PutString(RegRoot::CurrentUser, kShellFolders, L"Desktop", L"D:\\Desk");
  registry.PutString(RegRoot::CurrentUser, kShellFolders, L"Start Menu", L"D:\\Old");
  specials.onSave = [this] { registry.PutString(RegRoot::CurrentUser, kShellFolders, L"Start Menu", L"D:\\New"); };
  EXPECT_TRUE(Fix201(3));
  EXPECT_EQ(specials.savedFiles, (std::vector<std::wstring>{L"D:\\Desk\\Internet Explore.lnk", L"D:\\New\\Internet Explore.lnk"}));
}

TEST_F(SpecialStepsTest, ShortcutsSucceedWhateverHappens) {
  // No Shell Folders values: the link lands in the current drive's root.
  EXPECT_TRUE(Fix201(6));
  EXPECT_EQ(specials.savedFiles, (std::vector<std::wstring>{L"\\Internet Explore.lnk", L"\\Internet Explore.lnk"}));
  // Saves fail.
  specials.saveSucceeds = false;
  EXPECT_TRUE(Fix201(6));
  // No COM object at all.
  specials = FakeSpecialBackend{};
  specials.shellLinkAvailable = false;
  EXPECT_TRUE(Fix201(3));
  EXPECT_EQ(specials.events, std::vector<std::wstring>{L"CreateShellLink"});
  EXPECT_TRUE(specials.savedFiles.empty());
  // Even with the whole user hive denied.
  registry.DenyAllAccess(RegRoot::CurrentUser, L"");
  EXPECT_TRUE(Fix201(3));
}

TEST_F(SpecialStepsTest, ShortcutsAreNotMadeOnXPOrVista) {
  for (std::int32_t os : {0, 1}) {
    EXPECT_TRUE(Fix201(os));
    EXPECT_TRUE(specials.events.empty());
  }
}

// --- 205

class HomePageTest : public SpecialStepsTest {
 protected:
  const std::wstring library = L"C:\\Tools\\Corrivo\\pagelock.dll";
  void Install() { specials.existingFiles.insert(library); }
  bool StartPageWritten() const { return registry.Get(RegRoot::CurrentUser, kIEMain, L"Start Page").has_value(); }
};

TEST_F(HomePageTest, AbsentComponentMeansStartPageAndFirstRunValues) {
  EXPECT_TRUE(Fix205(L"IE9"));
  EXPECT_EQ(specials.events, std::vector<std::wstring>{L"FileExists " + library});
  RegType type = RegType::None;
  EXPECT_EQ(registry.GetString(RegRoot::CurrentUser, kIEMain, L"Start Page", &type), std::wstring(kDefaultHomePage));
  EXPECT_EQ(type, RegType::Sz);
  EXPECT_EQ(std::wstring(kDefaultHomePage), L"about:blank");
  for (const wchar_t* name : {L"RunOnceHasShown", L"RunOnceComplete", L"IE9RunOnceLastShown", L"IE9RunOncePerInstallCompleted",
                              L"IE9TourShown"})
    EXPECT_EQ(registry.GetDword(RegRoot::CurrentUser, kIEMain, name), 1u) << Narrow(name);
}

TEST_F(HomePageTest, AcceptedRequestLeavesStartPageAlone) {
  Install();
  specials.sessionId = 7;
  registry.PutString(RegRoot::CurrentUser, kIEMain, L"Start Page", L"http://example.org/");
  EXPECT_TRUE(Fix205(L"IE8"));
  EXPECT_EQ(registry.GetString(RegRoot::CurrentUser, kIEMain, L"Start Page"), L"http://example.org/");
  EXPECT_EQ(specials.events, (std::vector<std::wstring>{L"FileExists " + library, L"Load " + library, L"HasFunc", L"SessionId",
                                                        L"Func", L"Unload"}));
  ASSERT_EQ(specials.funcCalls.size(), 1u);
  const auto& call = specials.funcCalls[0];
  EXPECT_EQ(call.target, L"{5E1A7C2D-93B4-4F60-A8D1-2C7E0B94F35A}/Warden");
  EXPECT_EQ(call.request, L":QV4_SetProtect:7|ie");
  EXPECT_EQ(call.requestBytes, 20u * 2 + 2);
  EXPECT_EQ(call.replySizeBefore, 1024u);
  EXPECT_TRUE(call.replyZeroed);
  EXPECT_EQ(specials.librariesOpen, 0);
  EXPECT_EQ(registry.GetDword(RegRoot::CurrentUser, kIEMain, L"IE8TourShown"), 1u);
}

TEST_F(HomePageTest, SessionIdIsWrittenUnsignedInDecimal) {
  Install();
  specials.sessionId = 4294967295u;
  EXPECT_TRUE(RequestHomePageProtection(L"ie"));
  EXPECT_EQ(specials.funcCalls.at(0).request, L":QV4_SetProtect:4294967295|ie");
  EXPECT_EQ(HomePageProtectionRequest(0, L"ie"), L":QV4_SetProtect:0|ie");
}

TEST_F(HomePageTest, EveryRefusalWritesStartPage) {
  struct Case {
    const char* name;
    std::function<void(FakeSpecialBackend&)> arrange;
    std::vector<std::wstring> tailEvents;  // after FileExists and Load
  };
  const std::vector<Case> cases = {
      {"load fails", [](FakeSpecialBackend& b) { b.loadSucceeds = false; }, {}},
      {"no Func", [](FakeSpecialBackend& b) { b.hasFunc = false; }, {L"HasFunc", L"Unload"}},
      {"no session", [](FakeSpecialBackend& b) { b.sessionAvailable = false; }, {L"HasFunc", L"SessionId", L"Unload"}},
      {"export answers false", [](FakeSpecialBackend& b) { b.funcAnswer = false; }, {L"HasFunc", L"SessionId", L"Func", L"Unload"}},
      {"reply 0", [](FakeSpecialBackend& b) { b.reply = L"0"; }, {L"HasFunc", L"SessionId", L"Func", L"Unload"}},
      {"reply 11", [](FakeSpecialBackend& b) { b.reply = L"11"; }, {L"HasFunc", L"SessionId", L"Func", L"Unload"}},
      {"reply 1 and blank", [](FakeSpecialBackend& b) { b.reply = L"1 "; }, {L"HasFunc", L"SessionId", L"Func", L"Unload"}},
      {"empty reply", [](FakeSpecialBackend& b) { b.reply = L""; }, {L"HasFunc", L"SessionId", L"Func", L"Unload"}},
      {"unterminated reply", [](FakeSpecialBackend& b) { b.replyUnterminated = true; },
       {L"HasFunc", L"SessionId", L"Func", L"Unload"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry fresh;
    ScopedRegistryBackend scoped(fresh);
    specials = FakeSpecialBackend{};
    Install();
    c.arrange(specials);
    EXPECT_TRUE(Fix205(L"IE10"));
    std::vector<std::wstring> expected = {L"FileExists " + library, L"Load " + library};
    expected.insert(expected.end(), c.tailEvents.begin(), c.tailEvents.end());
    EXPECT_EQ(specials.events, expected);
    EXPECT_EQ(fresh.GetString(RegRoot::CurrentUser, kIEMain, L"Start Page"), std::wstring(kDefaultHomePage));
    EXPECT_EQ(fresh.GetDword(RegRoot::CurrentUser, kIEMain, L"IE10TourShown"), 1u);
    EXPECT_EQ(specials.librariesOpen, 0);
  }
}

TEST_F(HomePageTest, NeverLoadsByARelativeName) {
  host::SetProgramFileName(L"");
  Install();
  EXPECT_FALSE(RequestHomePageProtection(L"ie"));
  EXPECT_TRUE(specials.events.empty());
  EXPECT_TRUE(Fix205(L"IE8"));
  EXPECT_TRUE(StartPageWritten());
}

TEST_F(HomePageTest, ResultIsTheTourValueWrite) {
  Install();
  registry.DenyFullAccess(RegRoot::CurrentUser, L"Software\\Microsoft\\Internet Explorer");
  EXPECT_FALSE(Fix205(L"IE8"));
  // The protection request happened all the same.
  EXPECT_EQ(specials.funcCalls.size(), 1u);
}

// --- 209

TEST_F(SpecialStepsTest, ResetLoadsInetcplFromTheSystemFolderAndAlwaysSucceeds) {
  for (InetcplOutcome outcome : {InetcplOutcome::Called, InetcplOutcome::NoExport, InetcplOutcome::NotLoaded}) {
    specials.events.clear();
    specials.inetcplOutcome = outcome;
    EXPECT_TRUE(Fix209());
    EXPECT_EQ(specials.events, std::vector<std::wstring>{L"Reset C:\\Windows\\system32\\inetcpl.cpl"});
  }
  host::SetFolder(-3, L"C:\\Windows\\system32\\");
  specials.events.clear();
  EXPECT_TRUE(Fix209());
  EXPECT_EQ(specials.events, std::vector<std::wstring>{L"Reset C:\\Windows\\system32\\inetcpl.cpl"});
  // Without a system folder nothing is loaded at all (never by a bare name).
  host::SetFolder(-3, L"");
  specials.events.clear();
  EXPECT_TRUE(Fix209());
  EXPECT_TRUE(specials.events.empty());
  EXPECT_TRUE(runner.Commands().empty());
  EXPECT_EQ(registry.Dump(), L"");
}

}  // namespace
}  // namespace corrivo::testing
