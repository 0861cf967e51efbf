// The General Fix and re-registration pages over the real worker thread, in virtual time.
// The fake view stands for the controls; its pass hook is where the "user" acts while a wait
// loop runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "engine/pages.h"
#include "engine/registration_lists.h"
#include "tests/engine/fake_pages_view.h"
#include "tests/engine/fake_scan_item_actions.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

// The worker and the pages, both on the virtual clock; the worker runs on its own thread.
class PagesTest : public MemorySystemTest {
 protected:
  explicit PagesTest(ScanItemActions* custom = nullptr)
      : thread(custom ? *custom : static_cast<ScanItemActions&>(actions)),
        pages(thread, view, EnginePageTexts{}, L"Fix Item") {
    clock.SetYield(true);
    actions.Observe(&thread);
    thread.Init();
    thread.OsVersionCode = 3;
    thread.IEVersionName = L"IE9";
    thread.SetOfferedFlags();
    view.pages = &pages;
    thread.Resume();
  }

  // Holds the first wait-loop pass until `flag` says the task has ended, so that the position
  // computed after it is the final one.
  void FinishBeforeFirstPass(const std::atomic<std::uint8_t>& flag) {
    view.passes = 0;
    view.onPass = [&flag](int pass) {
      if (pass == 1)
        while (flag.load() != 1) std::this_thread::yield();
    };
  }

  std::vector<int> FixIds() const {
    std::vector<int> ids;
    for (const auto& c : actions.Calls())
      if (c.fix) ids.push_back(c.id);
    return ids;
  }

  std::vector<bool> Checks() const {
    std::vector<bool> out;
    for (const auto& r : view.rows) out.push_back(r.checked);
    return out;
  }

  FakeScanItemActions actions;
  FakePagesView view;
  TScanAndFixThread thread;
  EnginePages pages;
};

TEST(ProgressPositionTest, FormulasOfTheThreeLoops) {
  EXPECT_EQ(ScanProgressPosition(100, 1, 50), 1);
  EXPECT_EQ(ScanProgressPosition(100, 50, 50), 99);
  EXPECT_EQ(ScanProgressPosition(100, 51, 50), 100);
  EXPECT_EQ(FixProgressPosition(100, 3, 3), 100);
  EXPECT_EQ(FixProgressPosition(100, 1, 3), 33);
  EXPECT_EQ(RegistrationProgressPosition(103, 45, 44), 103) << "105 capped at the maximum";
  EXPECT_EQ(RegistrationProgressPosition(103, 44, 44), 103);
  EXPECT_EQ(RegistrationProgressPosition(103, 43, 44), 100);
  EXPECT_EQ(RegistrationProgressPosition(103, 115, 114), 103);
  EXPECT_EQ(FixProgressPosition(100, 1, 0), 0) << "no division by zero before a task sets Total";
}

TEST_F(PagesTest, HealthySystemScanShowsNoProblems) {
  FinishBeforeFirstPass(thread.ScanDone);
  pages.Button_ScanClick();
  EXPECT_EQ(view.infos, (std::vector<std::wstring>{L"No problems"}));
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.columnCaption, L"Fix Item");
  EXPECT_FALSE(view.enabled[PageButton::Fix]);
  EXPECT_TRUE(view.Visible(PageButton::Scan));
  EXPECT_FALSE(view.progressVisible[PageProgress::Main]);
  EXPECT_FALSE(view.selectAllVisible);
  EXPECT_EQ(pages.Scanned, 1);
  EXPECT_EQ(view.debug, (std::vector<std::wstring>{L"0"}));
  EXPECT_TRUE(view.enabled[PageButton::FixIE]);
  EXPECT_TRUE(view.enabled[PageButton::FixWmp]);
  const auto& pos = view.positions[PageProgress::Main];
  ASSERT_FALSE(pos.empty());
  EXPECT_EQ(pos.front(), 0);
  EXPECT_EQ(pos.back(), 100) << "99 x 51 / 50";
  EXPECT_LE(*std::max_element(pos.begin(), pos.end()), 100);
}

TEST_F(PagesTest, ProblemsAreListedCheckedWithTheTotal) {
  actions.SetProblems({101, 104, 108, 110, 203});  // 110 and 203 are never offered
  pages.Button_ScanClick();
  ASSERT_EQ(view.rows.size(), 3u);
  EXPECT_EQ(view.rows[0].caption, thread.Descriptions[0]);
  EXPECT_EQ(view.rows[1].caption, thread.Descriptions[3]);
  EXPECT_EQ(view.rows[2].caption, thread.Descriptions[7]);
  for (const auto& r : view.rows) EXPECT_EQ(r.status, L"Need Fix");
  EXPECT_EQ(view.rows[0].index, L"0");
  EXPECT_EQ(view.rows[1].index, L"3");
  EXPECT_EQ(view.rows[2].index, L"7");
  EXPECT_EQ(Checks(), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(view.columnCaption, L"Fix Item(Total:3)");
  EXPECT_TRUE(view.selectAllVisible);
  EXPECT_TRUE(view.selectAllChecked);
  EXPECT_TRUE(view.enabled[PageButton::Fix]);
  EXPECT_TRUE(view.Visible(PageButton::Scan));
  EXPECT_TRUE(view.Visible(PageButton::Fix));
  EXPECT_TRUE(view.infos.empty());
  EXPECT_EQ(view.debug, (std::vector<std::wstring>{L"3"}));
  EXPECT_EQ(pages.SelectAllGuard, 1);
}

TEST_F(PagesTest, RowTicksDriveSelectAllAndTheFixButton) {
  actions.SetProblems({101, 104, 108});
  pages.Button_ScanClick();
  view.UserCheck(1, false);
  EXPECT_FALSE(view.selectAllChecked);
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false, true})) << "the other rows keep their ticks";
  EXPECT_TRUE(view.enabled[PageButton::Fix]);
  view.UserCheck(1, true);
  EXPECT_TRUE(view.selectAllChecked);
  view.UserCheck(0, false);
  view.UserCheck(1, false);
  view.UserCheck(2, false);
  EXPECT_FALSE(view.enabled[PageButton::Fix]);
  view.UserClickSelectAll();
  EXPECT_EQ(Checks(), (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(view.enabled[PageButton::Fix]);
  view.UserClickSelectAll();
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));
  EXPECT_FALSE(view.selectAllChecked);
  EXPECT_FALSE(view.enabled[PageButton::Fix]);
}

TEST_F(PagesTest, FixRepairsExactlyTheTickedRowsInListOrderThenOnlyNewTicks) {
  actions.SetProblems({101, 104, 108, 401});
  pages.Button_ScanClick();
  ASSERT_EQ(view.rows.size(), 4u);
  view.UserCheck(1, false);
  FinishBeforeFirstPass(thread.FixDone);
  pages.Button_FixClick();
  EXPECT_EQ(FixIds(), (std::vector<int>{101, 108, 401}));
  EXPECT_EQ(view.infos, (std::vector<std::wstring>{L"All problems fixed."}));
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.columnCaption, L"Fix Item ( No problems )");
  EXPECT_FALSE(view.enabled[PageButton::Fix]);
  EXPECT_TRUE(view.enabled[PageButton::Scan]);
  EXPECT_TRUE(view.listEnabled);
  EXPECT_FALSE(view.selectAllVisible);
  EXPECT_FALSE(view.progressVisible[PageProgress::Main]);
  EXPECT_EQ(view.notifications, 1);
  const auto& pos = view.positions[PageProgress::Main];
  EXPECT_EQ(pos.back(), 100);
  EXPECT_LE(*std::max_element(pos.begin(), pos.end()), 100);

  view.onPass = nullptr;
  pages.Button_ScanClick();  // the fake's problems are still there
  ASSERT_EQ(view.rows.size(), 4u);
  view.UserClickSelectAll();  // untick all
  view.UserCheck(2, true);
  const auto before = FixIds().size();
  pages.Button_FixClick();
  auto ids = FixIds();
  EXPECT_EQ(std::vector<int>(ids.begin() + before, ids.end()), (std::vector<int>{108}));
}

TEST_F(PagesTest, StopDuringAScanLeavesNoRowsAndNoMessage) {
  actions.SetAllProblems();
  view.onPass = [this](int pass) {
    if (pass == 1) pages.Button_StopScanClick();
  };
  pages.Button_ScanClick();
  EXPECT_TRUE(view.rows.empty());
  EXPECT_TRUE(view.infos.empty());
  EXPECT_TRUE(view.Visible(PageButton::Scan));
  EXPECT_FALSE(view.enabled[PageButton::Fix]);
  EXPECT_FALSE(view.selectAllVisible);
  EXPECT_FALSE(view.progressVisible[PageProgress::Main]);
  EXPECT_EQ(pages.ScanStopRequested, 0);
  EXPECT_EQ(pages.Scanned, 0);
  EXPECT_TRUE(view.enabled[PageButton::FixIE]);
}

// Holds the worker inside its first repair until the page has pressed Stop.
class StopFixTest : public PagesTest {
 protected:
  void StopDuringFix() {
    std::atomic<bool> inFix{false};
    actions.OnCall([&](const ActionCall& call) {
      if (!call.fix) return;
      inFix = true;
      while (thread.StopRequested.load() == 0) std::this_thread::yield();
    });
    bool clicked = false;
    view.onPass = [&](int) {
      if (inFix.load() && !clicked) {
        pages.Button_StopFixClick();
        clicked = true;
      }
    };
    pages.Button_FixClick();
    actions.OnCall(nullptr);
    view.onPass = nullptr;
  }
};

TEST_F(StopFixTest, WithSelectAllTickedEveryRowIsUnticked) {
  actions.SetProblems({101, 104, 108});
  pages.Button_ScanClick();
  StopDuringFix();
  EXPECT_EQ(view.rows.size(), 3u) << "the rows stay";
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));
  EXPECT_FALSE(view.enabled[PageButton::Fix]);
  EXPECT_TRUE(view.Visible(PageButton::Fix));
  EXPECT_TRUE(view.enabled[PageButton::Scan]);
  EXPECT_TRUE(view.infos.empty());
  EXPECT_EQ(pages.FixStopRequested, 0);
  EXPECT_EQ(FixIds(), (std::vector<int>{101})) << "the worker ended after its current step";
}

TEST_F(StopFixTest, WithSelectAllClearTheRowsKeepTheirTicks) {
  actions.SetProblems({101, 104, 108});
  pages.Button_ScanClick();
  view.UserCheck(0, false);
  StopDuringFix();
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true, true}));
  EXPECT_TRUE(view.enabled[PageButton::Fix]);
  EXPECT_TRUE(view.infos.empty());
}

TEST_F(PagesTest, CancelledRegistrationLaunchesNothingAndChangesNothing) {
  view.confirmAnswer = false;
  auto enabledBefore = view.enabled;
  auto frontBefore = view.front;
  pages.Button_FixIEClick();
  EXPECT_EQ(view.confirmations,
            (std::vector<std::wstring>{L"Are you sure of reregister all DLL and OCX files for IE?"}));
  EXPECT_EQ(view.enabled, enabledBefore);
  EXPECT_EQ(view.front, frontBefore);
  EXPECT_TRUE(view.positions.empty());
  SleepMs(5000);  // the worker would have taken a request up by now
  EXPECT_TRUE(runner.Commands().empty());
}

TEST_F(PagesTest, FullRegistrationRunsLaunchEveryCommandInOrder) {
  struct Case {
    void (EnginePages::*click)();
    const std::atomic<std::uint8_t>* done;
    PageProgress bar;
    std::size_t count;
    const wchar_t* sure;
    const wchar_t* finish;
  } cases[] = {
      {&EnginePages::Button_FixIEClick, &thread.IeDone, PageProgress::IE, 114,
       L"Are you sure of reregister all DLL and OCX files for IE?", L"Internet Explorer fixed."},
      {&EnginePages::Button_Fix_MediaPlayerClick, &thread.WmpDone, PageProgress::Wmp, 44,
       L"Are you sure of reregister all DLL and OCX files for Media Player?", L"Media Player fixed."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    runner.Clear();
    view.infos.clear();
    view.confirmations.clear();
    view.positions.clear();
    view.enabled[PageButton::Fix] = true;
    FinishBeforeFirstPass(*c.done);
    (pages.*c.click)();
    const auto& list = c.count == 114 ? thread.IeCommands : thread.WmpCommands;
    ASSERT_EQ(list.size(), c.count);
    std::vector<std::wstring> expected;
    for (const auto& entry : list) expected.push_back(L"/c" + entry);
    EXPECT_EQ(runner.Commands(), expected);
    EXPECT_EQ(runner.Commands().front(), c.count == 114 ? L"/c regsvr32 comcat.dll /s" : L"/c regsvr32 msdxm.ocx /s");
    EXPECT_EQ(view.confirmations, (std::vector<std::wstring>{c.sure}));
    EXPECT_EQ(view.infos, (std::vector<std::wstring>{c.finish}));
    const auto& pos = view.positions[c.bar];
    EXPECT_EQ(pos.front(), 0);
    EXPECT_EQ(pos.back(), 103);
    EXPECT_LE(*std::max_element(pos.begin(), pos.end()), 103);
    EXPECT_FALSE(view.progressVisible[c.bar]);
    EXPECT_TRUE(view.enabled[PageButton::Fix]) << "given back as it was";
    EXPECT_TRUE(view.enabled[PageButton::Scan]);
    EXPECT_TRUE(view.enabled[PageButton::FixIE]);
    EXPECT_TRUE(view.enabled[PageButton::FixWmp]);
    EXPECT_TRUE(view.Visible(c.count == 114 ? PageButton::FixIE : PageButton::FixWmp));
  }
}

TEST_F(PagesTest, RegistrationKeepsTheFixButtonDisabledWhenItWas) {
  FinishBeforeFirstPass(thread.WmpDone);
  view.enabled[PageButton::Fix] = false;
  pages.Button_Fix_MediaPlayerClick();
  EXPECT_FALSE(view.enabled[PageButton::Fix]);
}

TEST_F(PagesTest, StoppedRegistrationClearsItsFlagAndTheNextRunIsWhole) {
  view.onPass = [this](int pass) {
    if (pass == 1) pages.Button_StopFix_IEClick();
  };
  pages.Button_FixIEClick();
  EXPECT_TRUE(view.infos.empty());
  EXPECT_EQ(pages.IeStopRequested, 0);
  EXPECT_TRUE(view.Visible(PageButton::FixIE));
  EXPECT_LT(runner.Commands().size(), 114u);

  // The stopped task may still be ending its step; the new request is answered by a whole run.
  runner.Clear();
  FinishBeforeFirstPass(thread.IeDone);
  pages.Button_FixIEClick();
  EXPECT_EQ(view.infos, (std::vector<std::wstring>{L"Internet Explorer fixed."}));
  auto commands = runner.Commands();
  ASSERT_GE(commands.size(), 114u);
  std::vector<std::wstring> tail(commands.end() - 114, commands.end());
  EXPECT_EQ(tail.front(), L"/c regsvr32 comcat.dll /s");
  EXPECT_EQ(tail.back(), L"/c" + thread.IeCommands.back());
}

TEST_F(PagesTest, ClosingDuringAScanEndsTheWaitAndTheWorker) {
  actions.SetAllProblems();
  view.onPass = [this](int pass) {
    if (pass == 2) pages.Close();
  };
  pages.Button_ScanClick();
  EXPECT_TRUE(view.rows.empty());
  EXPECT_TRUE(view.infos.empty());
  EXPECT_TRUE(thread.Terminated());
  EXPECT_EQ(pages.FixStopRequested, 1);
  EXPECT_EQ(pages.IeStopRequested, 1);
  EXPECT_EQ(pages.WmpStopRequested, 1);
}

// With the catalogue's real checks and repairs over the in-memory registry.
class PagesWithCatalogTest : public PagesTest {
 protected:
  PagesWithCatalogTest() : PagesTest(&CatalogScanItemActions()) {}
  static constexpr const wchar_t* kSystemPolicies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
  static constexpr const wchar_t* kExplorerPolicies =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
};

TEST_F(PagesWithCatalogTest, PlantedProblemsAreFoundAndOnlyTheTickedOnesRepaired) {
  // Start from a system the scan finds healthy: fix whatever a bare registry reports.
  pages.Button_ScanClick();
  if (!view.rows.empty()) pages.Button_FixClick();
  view.infos.clear();
  pages.Button_ScanClick();
  ASSERT_EQ(view.infos, (std::vector<std::wstring>{L"No problems"})) << Narrow(registry.Dump());

  registry.PutDword(RegRoot::CurrentUser, kSystemPolicies, L"DisableTaskMgr", 1);
  registry.PutDword(RegRoot::CurrentUser, kSystemPolicies, L"DisableRegistryTools", 1);
  registry.PutDword(RegRoot::CurrentUser, kExplorerPolicies, L"NoFolderOptions", 1);
  view.infos.clear();
  pages.Button_ScanClick();
  ASSERT_EQ(view.rows.size(), 3u) << Narrow(registry.Dump());
  EXPECT_EQ(view.rows[0].index, L"3");   // 104
  EXPECT_EQ(view.rows[1].index, L"30");  // 401
  EXPECT_EQ(view.rows[2].index, L"32");  // 403
  EXPECT_EQ(view.columnCaption, L"Fix Item(Total:3)");

  view.UserCheck(2, false);  // leave the Registry Editor policy alone
  pages.Button_FixClick();
  EXPECT_EQ(view.infos, (std::vector<std::wstring>{L"All problems fixed."}));
  EXPECT_FALSE(registry.Get(RegRoot::CurrentUser, kExplorerPolicies, L"NoFolderOptions").has_value());
  EXPECT_NE(registry.GetDword(RegRoot::CurrentUser, kSystemPolicies, L"DisableTaskMgr"), 1u);
  EXPECT_EQ(registry.GetDword(RegRoot::CurrentUser, kSystemPolicies, L"DisableRegistryTools"), 1u);

  view.infos.clear();
  pages.Button_ScanClick();
  ASSERT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(view.rows[0].index, L"32");
}

}  // namespace
}  // namespace corrivo::testing
