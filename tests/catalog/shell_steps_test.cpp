// The steps that are more than a registry or command call, and the one-click dispatcher.
#include <gtest/gtest.h>

#include <cstring>

#include "catalog/catalog.h"
#include "catalog/dispatch.h"
#include "catalog/shell_steps.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

// Shell services whose home-page library answers as told.
class HomePageShell : public RecordingShellServices {
 public:
  bool load = true, hasFunc = true, callResult = true, session = true;
  std::wstring reply = L"1";
  std::wstring request, target;

  std::unique_ptr<HomePageLibrary> LoadHomePageLibrary(const std::wstring& path) override {
    RecordingShellServices::LoadHomePageLibrary(path);
    if (!load) return nullptr;
    return std::make_unique<Library>(*this);
  }
  bool CurrentSessionId(std::uint32_t* id) override {
    *id = 7;
    return session;
  }

 private:
  class Library : public HomePageLibrary {
   public:
    explicit Library(HomePageShell& shell) : shell_(shell) {}
    bool HasFunc() override { return shell_.hasFunc; }
    bool CallFunc(const std::wstring& target, const std::wstring& request, std::uint32_t bytes, std::uint8_t* out,
                  std::uint32_t* size) override {
      shell_.target = target;
      shell_.request = request;
      EXPECT_EQ(bytes, (request.size() + 1) * 2);
      EXPECT_EQ(*size, kHomePageReplySize);
      for (std::size_t i = 0; i < shell_.reply.size(); ++i) out[i * 2] = static_cast<std::uint8_t>(shell_.reply[i]);
      return shell_.callResult;
    }

   private:
    HomePageShell& shell_;
  };
};

class SpecialStepsTest : public MemorySystemTest {
 protected:
  HomePageShell shell;
  System withShell{registry, runner, machine.files, machine.os, shell, clock};
};

TEST_F(SpecialStepsTest, HomePageProtectionNeedsEveryPieceAndAnAcceptingReply) {
  machine.files.Put(L"C:\\Tools\\pagelock.dll", "MZ");
  EXPECT_TRUE(RequestHomePageProtection(withShell, L"ie"));
  EXPECT_EQ(shell.request, L":QV4_SetProtect:7|ie");
  EXPECT_EQ(shell.target, kHomePageTarget);
  EXPECT_EQ(shell.Requests().front(), L"load C:\\Tools\\pagelock.dll");

  struct Case {
    const char* name;
    void (*spoil)(HomePageShell&, MemoryFileService&);
  } cases[] = {
      {"library absent", [](HomePageShell&, MemoryFileService& f) { f.Remove(L"C:\\Tools\\pagelock.dll"); }},
      {"library does not load", [](HomePageShell& s, MemoryFileService&) { s.load = false; }},
      {"no Func export", [](HomePageShell& s, MemoryFileService&) { s.hasFunc = false; }},
      {"no session", [](HomePageShell& s, MemoryFileService&) { s.session = false; }},
      {"call fails", [](HomePageShell& s, MemoryFileService&) { s.callResult = false; }},
      {"refusing reply", [](HomePageShell& s, MemoryFileService&) { s.reply = L"0"; }},
      {"longer reply", [](HomePageShell& s, MemoryFileService&) { s.reply = L"10"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HomePageShell fresh;
    MemoryFileService files;
    files.Put(L"C:\\Tools\\pagelock.dll", "MZ");
    c.spoil(fresh, files);
    System s{registry, runner, files, machine.os, fresh, clock};
    EXPECT_FALSE(RequestHomePageProtection(s, L"ie"));
  }
  machine.os.SetProgramFile(L"");
  EXPECT_FALSE(RequestHomePageProtection(withShell, L"ie"));
}

TEST_F(SpecialStepsTest, HomePageRepairFallsBackToABlankStartPageOnlyWhenRefused) {
  machine.files.Put(L"C:\\Tools\\pagelock.dll", "MZ");
  EXPECT_TRUE(RunRepair(withShell, 205, {}));
  EXPECT_FALSE(registry.Get(RegRoot::CurrentUser, L"Software\\Microsoft\\Internet Explorer\\Main", L"Start Page"));
  shell.reply = L"0";
  EXPECT_TRUE(RunRepair(withShell, 205, {}));
  EXPECT_EQ(registry.GetString(RegRoot::CurrentUser, L"Software\\Microsoft\\Internet Explorer\\Main", L"Start Page"),
            L"about:blank");
}

TEST_F(SpecialStepsTest, ShortcutsGoToTheFoldersTheRegistryNamesNow) {
  const std::wstring folders = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  registry.PutString(RegRoot::CurrentUser, folders, L"Desktop", L"D:\\Desk");
  registry.PutString(RegRoot::CurrentUser, folders, L"Start Menu", L"D:\\Menu");
  EXPECT_TRUE(CreateIEShortcuts(system));
  EXPECT_EQ(machine.shell.Requests(),
            (std::vector<std::wstring>{L"link C:\\Program Files\\Internet Explorer\\iexplore.exe",
                                       L"save link D:\\Desk\\Internet Explore.lnk",
                                       L"save link D:\\Menu\\Internet Explore.lnk"}));
  machine.shell.SetResult(false);
  EXPECT_TRUE(CreateIEShortcuts(system));  // documented: true whatever happens
}

TEST_F(SpecialStepsTest, ResetAndKillUseTheSystemFolderAndTheExplorerName) {
  registry.Put(RegRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", L"ShellState",
               RegType::Binary, std::vector<std::uint8_t>(36, 0));
  EXPECT_TRUE(ResetIEToDefaults(system));
  EXPECT_TRUE(RunRepair(system, 503, RepairArgs{WindowsVersion::Seven, L"IE9"}));
  const auto requests = machine.shell.Requests();
  EXPECT_EQ(requests.front(), L"reset C:\\Windows\\system32\\inetcpl.cpl");
  EXPECT_EQ(requests.back(), L"kill explorer.exe");
  machine.os.SetSystemFolder(L"");
  EXPECT_TRUE(ResetIEToDefaults(system));
  EXPECT_EQ(machine.shell.Requests().size(), requests.size());
}

class Feedback : public RepairFeedback {
 public:
  void ShowResult(const std::wstring& text) override { shown.push_back(text); }
  std::vector<std::wstring> shown;
};

TEST_F(SpecialStepsTest, OneClickRepairsReportTheirResultAndTellTheShellAfterASuccess) {
  Feedback feedback;
  RepairResultTexts texts{L"ok!", L"no!"};
  RunOneClickRepair(system, 401, {}, texts, feedback);
  registry.PutDword(RegRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                    L"NoFolderOptions", 1);
  registry.DenyFullAccess(RegRoot::CurrentUser, L"");
  RunOneClickRepair(system, 104, {}, texts, feedback);
  RunOneClickRepair(system, 999, {}, texts, feedback);
  EXPECT_EQ(feedback.shown, (std::vector<std::wstring>{L"ok!", L"no!"}));
  EXPECT_EQ(machine.shell.Requests(), std::vector<std::wstring>{L"associations changed"});

  RunOneClickRepair(system, 607, {}, texts, feedback);
  EXPECT_EQ(feedback.shown.back(), L"no!");  // the icon writes decide, not the refresh
  EXPECT_EQ(machine.shell.Requests().back(), L"refresh desktop");
}

}  // namespace
}  // namespace corrivo::testing
