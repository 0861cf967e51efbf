#include "engine/scan_and_fix_thread.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/registration_lists.h"
#include "engine/scan_items.h"
#include "tests/engine/engine_fixture.h"

namespace corrivo {
namespace {

using corrivo::testing::ActionCall;
using corrivo::testing::EngineTest;
using corrivo::testing::Narrow;

using ScanAndFixThreadTest = EngineTest;

const std::vector<int> kWindows7CheckIds = {101, 102, 103, 104, 105, 106, 107, 108, 109, 110,
                                            203, 206, 210, 301, 302, 303, 304, 305, 307, 308,
                                            401, 402, 403, 404, 406, 407, 410, 502, 503, 508,
                                            509, 510};
const std::vector<int> kXPCheckIds = {101, 102, 104, 105, 107, 108, 109, 110, 201, 203, 206,
                                      210, 301, 302, 303, 304, 305, 307, 308, 401, 402, 403,
                                      404, 406, 407};

std::vector<int> ListedIndexes(const std::vector<ScanResult>& results) {
  std::vector<int> listed;
  for (const ScanResult& r : results) {
    if (r.Problem && r.Offered) listed.push_back(r.Index);
  }
  return listed;
}

TEST_F(ScanAndFixThreadTest, InitSetsFlagsCountersAndLists) {
  TScanAndFixThread fresh(actions);
  fresh.Init();
  EXPECT_EQ(fresh.ScanDone.load(), 1);
  EXPECT_EQ(fresh.FixDone.load(), 1);
  EXPECT_EQ(fresh.IeDone.load(), 1);
  EXPECT_EQ(fresh.WmpDone.load(), 1);
  EXPECT_EQ(fresh.Total.load(), 100);
  EXPECT_EQ(fresh.Done.load(), 1);
  EXPECT_EQ(fresh.StopRequested.load(), 0);
  EXPECT_EQ(fresh.OsVersionCode, 0);
  ASSERT_EQ(fresh.Descriptions.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(fresh.Descriptions[i], ScanItemDescription(i)) << i;
  EXPECT_EQ(fresh.Descriptions[49], L"Aero Peek is not working. ");
  EXPECT_EQ(fresh.IeCommands, IeRegistrationCommands());
  EXPECT_EQ(fresh.WmpCommands, WmpRegistrationCommands());
  EXPECT_EQ(fresh.IeCommands.size(), 114u);
  EXPECT_EQ(fresh.WmpCommands.size(), 44u);
  EXPECT_EQ(fresh.IeCommands[0], L" regsvr32 comcat.dll /s");
  for (std::uint8_t offered : fresh.Offered) EXPECT_EQ(offered, 1);
  EXPECT_TRUE(fresh.Results.empty());
  EXPECT_TRUE(fresh.FixList.empty());
}

TEST_F(ScanAndFixThreadTest, SetOfferedFlagsFollowsTheVersion) {
  for (std::int32_t os : {0, 1, 3, 6}) {
    SCOPED_TRACE(os);
    UseVersion(os);
    std::set<int> offered;
    for (int i = 0; i < 50; ++i) {
      if (thread.Offered[i]) offered.insert(i);
    }
    std::set<int> expected = {0, 1, 3, 4, 6, 7, 8, 11, 14, 15, 19, 27, 30, 31, 32, 33, 34, 36};
    if (os == 0 || os == 1 || os == 6) expected.insert(10);
    if (os != 0) expected.insert(39);
    if (os == 3 || os == 6) expected.insert(42);
    EXPECT_EQ(offered, expected);
  }
}

TEST_F(ScanAndFixThreadTest, StartSetsTotalClearsStopAndOnlyItsOwnFlag) {
  thread.Done.store(37);
  thread.Stop();
  thread.StartFix();
  EXPECT_EQ(thread.Total.load(), 10000);
  EXPECT_EQ(thread.Done.load(), 37);  // kept until the worker takes the task up
  EXPECT_EQ(thread.StopRequested.load(), 0);
  EXPECT_EQ(thread.FixDone.load(), 0);
  EXPECT_EQ(thread.ScanDone.load(), 1);
  EXPECT_EQ(thread.IeDone.load(), 1);
  EXPECT_EQ(thread.WmpDone.load(), 1);
  thread.StartWmpRegister();
  EXPECT_EQ(thread.WmpDone.load(), 0);
  thread.Stop();
  EXPECT_EQ(thread.StopRequested.load(), 1);
}

TEST_F(ScanAndFixThreadTest, IdleThreadLooksOnceASecondAndRunsNothing) {
  Run(3);
  EXPECT_EQ(Pauses(), Repeat(1000, 3));
  EXPECT_TRUE(actions.Calls().empty());
  EXPECT_TRUE(runner.Commands().empty());
}

TEST_F(ScanAndFixThreadTest, FullScanKeepsFiftyRecordsInIndexOrder) {
  UseVersion(3);
  actions.SetProblems({101, 104, 401, 503, 110});
  thread.StartScan();
  Run(1);
  ASSERT_EQ(views.size(), 1u);
  const auto& results = views[0].results;
  ASSERT_EQ(results.size(), 50u);
  for (int i = 0; i < 50; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(results[i].Index, i);
    EXPECT_EQ(results[i].Description, ScanItemDescription(i));
    EXPECT_EQ(results[i].Offered, thread.Offered[i]);
    const int id = ScanItemFixId(i);
    EXPECT_EQ(results[i].Problem != 0, id == 101 || id == 104 || id == 401 || id == 503 || id == 110);
  }
  // 110 (index 9) is a problem but never offered, so it is not listed.
  EXPECT_EQ(ListedIndexes(results), (std::vector<int>{0, 3, 30, 42}));
  EXPECT_EQ(views[0].scanDone, 1);
  EXPECT_EQ(views[0].total, 50);
  EXPECT_EQ(views[0].done, 51);
  EXPECT_EQ(actions.CheckIds(), kWindows7CheckIds);
  EXPECT_TRUE(actions.FixIds().empty());
  EXPECT_EQ(Pauses(), Join({Repeat(100, 50), {1000}}));
}

TEST_F(ScanAndFixThreadTest, ScanProgressGrowsByOneAfterEachItem) {
  UseVersion(3);
  std::vector<std::int32_t> doneAtPause;
  thread.StartScan();
  Run(1, {}, [&](std::uint32_t, int) { doneAtPause.push_back(thread.Done.load()); });
  ASSERT_EQ(doneAtPause.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(doneAtPause[i], i + 2) << i;
  // The checks see the scan's Total; the first one runs with Done still at 1.
  const auto calls = actions.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().id, 101);
  EXPECT_EQ(calls.front().total, 50);
  EXPECT_EQ(calls.front().done, 1);
}

TEST_F(ScanAndFixThreadTest, ScanOnXPChecksTheInternetExplorerIconButNotTheNewerItems) {
  UseVersion(0, L"IE8");
  actions.SetAllProblems();
  thread.StartScan();
  Run(1);
  EXPECT_EQ(actions.CheckIds(), kXPCheckIds);
  for (const ActionCall& call : actions.Calls()) {
    EXPECT_EQ(call.osVersionCode, 0);
    EXPECT_EQ(call.ieVersionName, L"IE8");
  }
  const auto& results = views.at(0).results;
  EXPECT_TRUE(results[10].Problem);
  EXPECT_TRUE(results[10].Offered);
  EXPECT_FALSE(results[39].Problem);
  EXPECT_FALSE(results[39].Offered);
  EXPECT_FALSE(results[42].Problem);
  EXPECT_FALSE(results[42].Offered);
}

// With every check reporting a problem, what a scan can list on each version.
TEST_F(ScanAndFixThreadTest, ListableItemsByVersion) {
  actions.SetAllProblems();
  for (std::int32_t os : {0, 1, 3, 6}) {
    SCOPED_TRACE(os);
    TScanAndFixThread scanner(actions);
    scanner.Init();
    scanner.OsVersionCode = os;
    scanner.SetOfferedFlags();
    scanner.StartScan();
    Run(scanner, 1);
    std::set<int> expected = {0, 1, 3, 4, 6, 7, 8, 15, 19, 27, 30, 31, 32, 33, 36};
    if (os == 0 || os == 1) expected.insert(10);
    if (os != 0) expected.insert(39);
    if (os >= 3) expected.insert(42);
    const auto listed = ListedIndexes(views.at(0).results);
    EXPECT_EQ(std::set<int>(listed.begin(), listed.end()), expected);
  }
}

TEST_F(ScanAndFixThreadTest, StopDuringAScanKeepsTheRecordsMadeBeforeIt) {
  UseVersion(3);
  thread.StartScan();
  Run(1, {}, [&](std::uint32_t ms, int n) {
    if (ms == 100 && n == 7) thread.Stop();
  });
  const auto& view = views.at(0);
  EXPECT_EQ(view.results.size(), 7u);
  EXPECT_EQ(view.scanDone, 1);
  EXPECT_EQ(view.done, 8);
  EXPECT_EQ(view.stopRequested, 1);  // stays set until the next request
  EXPECT_EQ(actions.CheckIds(), std::vector<int>(kWindows7CheckIds.begin(), kWindows7CheckIds.begin() + 7));
  EXPECT_EQ(Pauses(), Join({Repeat(100, 7), {1000}}));
}

TEST_F(ScanAndFixThreadTest, StopBeforeTheWorkerTakesTheTaskUpEndsItAtOnce) {
  thread.StartScan();
  thread.Stop();
  Run(1);
  EXPECT_EQ(views.at(0).scanDone, 1);
  EXPECT_TRUE(views.at(0).results.empty());
  EXPECT_TRUE(actions.Calls().empty());
  EXPECT_EQ(Pauses(), Repeat(1000, 1));
}

TEST_F(ScanAndFixThreadTest, EmptyFixListFinishesAtOnce) {
  thread.StartFix();
  Run(1);
  EXPECT_EQ(views.at(0).fixDone, 1);
  EXPECT_EQ(views.at(0).total, 1);
  EXPECT_EQ(views.at(0).done, 1);
  EXPECT_TRUE(actions.Calls().empty());
  EXPECT_EQ(Pauses(), Repeat(1000, 1));
}

TEST_F(ScanAndFixThreadTest, FixRunsOnlyTheListedItemsInListOrder) {
  UseVersion(3, L"IE10");
  thread.StartScan();
  Run(2, [&](int pass) {
    if (pass != 1) return;
    thread.FixList = {L"30", L"3", L"0", L"6", L"11", L"23", L"44"};
    actions.Clear();
    clock.ClearSleeps();
    thread.StartFix();
  });
  const auto calls = actions.Calls();
  ASSERT_EQ(calls.size(), 7u);
  const int ids[] = {401, 104, 101, 107, 202, 304, 505};
  for (std::size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(calls[i].fix);
    EXPECT_EQ(calls[i].id, ids[i]);
    EXPECT_EQ(calls[i].osVersionCode, 3);
    EXPECT_EQ(calls[i].ieVersionName, L"IE10");
    EXPECT_EQ(calls[i].total, 8);
    EXPECT_EQ(calls[i].done, static_cast<std::int32_t>(i) + 1);
  }
  EXPECT_EQ(views.at(1).fixDone, 1);
  EXPECT_EQ(views.at(1).done, 8);
  EXPECT_EQ(views.at(1).total, 8);
  EXPECT_EQ(Pauses(), Join({Repeat(300, 7), {1000}}));
  // The window fills the list anew for each run; the worker leaves it as it was.
  EXPECT_EQ(thread.FixList.size(), 0u);  // released with the other lists when Execute ended
}

TEST_F(ScanAndFixThreadTest, FixIgnoresTheRepairsResults) {
  UseVersion(1);
  actions.SetFixResult(false);
  thread.StartScan();
  Run(2, [&](int pass) {
    if (pass != 1) return;
    thread.FixList = {L"0", L"1"};
    actions.Clear();
    thread.StartFix();
  });
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{101, 102}));
  EXPECT_EQ(views.at(1).fixDone, 1);
  EXPECT_EQ(views.at(1).done, 3);
}

TEST_F(ScanAndFixThreadTest, FixEntriesThatNameNoRecordRepairNothingButCount) {
  UseVersion(3);
  thread.StartScan();
  Run(2, [&](int pass) {
    if (pass != 1) return;
    thread.FixList = {L"abc", L"50", L"-1", L" 3 ", L"", L"99999999999", L"4x", L"49"};
    actions.Clear();
    clock.ClearSleeps();
    thread.StartFix();
  });
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{104, 510}));
  EXPECT_EQ(views.at(1).total, 9);
  EXPECT_EQ(views.at(1).done, 9);
  EXPECT_EQ(Pauses(), Join({Repeat(300, 8), {1000}}));
}

TEST_F(ScanAndFixThreadTest, FixTakesTheIndexFromTheRecordsOfTheLastScan) {
  // After a scan stopped at item 5, only positions 0 to 4 have records.
  UseVersion(3);
  thread.StartScan();
  Run(2,
      [&](int pass) {
        if (pass != 1) return;
        thread.FixList = {L"4", L"5", L"2"};
        actions.Clear();
        thread.StartFix();
      },
      [&](std::uint32_t ms, int n) {
        if (ms == 100 && n == 5) thread.Stop();
      });
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{105, 103}));
}

TEST_F(ScanAndFixThreadTest, CheckAndFixItemPassTheThreadsVersionAndIgnoreBadIndexes) {
  UseVersion(6, L"IE10");
  actions.SetAllProblems();
  EXPECT_TRUE(thread.CheckItem(6));   // 107 with the version code
  EXPECT_FALSE(thread.CheckItem(10)); // 201 is not checked on Windows 8
  EXPECT_FALSE(thread.CheckItem(11)); // 202 has no check
  EXPECT_FALSE(thread.CheckItem(-1));
  EXPECT_FALSE(thread.CheckItem(50));
  thread.FixItem(10);
  thread.FixItem(14);
  thread.FixItem(-1);
  thread.FixItem(50);
  const auto calls = actions.Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_FALSE(calls[0].fix);
  EXPECT_EQ(calls[0].id, 107);
  EXPECT_EQ(calls[0].osVersionCode, 6);
  EXPECT_TRUE(calls[1].fix);
  EXPECT_EQ(calls[1].id, 201);
  EXPECT_EQ(calls[1].osVersionCode, 6);
  EXPECT_TRUE(calls[2].fix);
  EXPECT_EQ(calls[2].id, 205);
  EXPECT_EQ(calls[2].ieVersionName, L"IE10");
}

TEST_F(ScanAndFixThreadTest, InternetExplorerRegistrationLaunchesEveryEntryInOrder) {
  thread.StartIeRegister();
  std::vector<std::size_t> launchedAtPause;
  Run(1, {}, [&](std::uint32_t, int) { launchedAtPause.push_back(runner.Commands().size()); });
  const auto commands = runner.Commands();
  ASSERT_EQ(commands.size(), 114u);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    EXPECT_EQ(Narrow(commands[i]), Narrow(L"/c" + IeRegistrationCommands()[i])) << i;
    EXPECT_EQ(launchedAtPause[i], i + 1);  // one launch, then its pause
  }
  EXPECT_EQ(Narrow(commands.front()), "/c regsvr32 comcat.dll /s");
  EXPECT_EQ(Narrow(commands[94]), "/c regsvr32 inetcpl.cpl  /u /i /s");
  EXPECT_EQ(Narrow(commands.back()), "/c regsvr32 FLUPL.OCX /u /s");
  EXPECT_EQ(Pauses(), Join({Repeat(100, 114), {1000}}));
  EXPECT_EQ(views.at(0).ieDone, 1);
  EXPECT_EQ(views.at(0).total, 114);
  EXPECT_EQ(views.at(0).done, 115);
  EXPECT_TRUE(actions.Calls().empty());
}

TEST_F(ScanAndFixThreadTest, MediaPlayerRegistrationLaunchesEveryEntryTwoHundredMsApart) {
  thread.StartWmpRegister();
  Run(1);
  const auto commands = runner.Commands();
  ASSERT_EQ(commands.size(), 44u);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    EXPECT_EQ(Narrow(commands[i]), Narrow(L"/c" + WmpRegistrationCommands()[i])) << i;
  }
  EXPECT_EQ(Narrow(commands[3]), "/c regsvr32 wmpcm.dll /s");
  EXPECT_EQ(Narrow(commands[4]), "/c regsvr32 wmpcm.dll /s");
  EXPECT_EQ(Narrow(commands.back()), "/c regsvr32 msmpeg2vdec.dll /s");
  EXPECT_EQ(Pauses(), Join({Repeat(200, 44), {1000}}));
  EXPECT_EQ(views.at(0).wmpDone, 1);
  EXPECT_EQ(views.at(0).total, 44);
  EXPECT_EQ(views.at(0).done, 45);
}

TEST_F(ScanAndFixThreadTest, RegistrationGoesOnWhenALaunchFails) {
  runner.SetResult(false);
  thread.StartWmpRegister();
  Run(1);
  EXPECT_EQ(runner.Commands().size(), 44u);
  EXPECT_EQ(views.at(0).wmpDone, 1);
  EXPECT_EQ(views.at(0).done, 45);
}

TEST_F(ScanAndFixThreadTest, StopDuringRegistrationEndsAfterTheCurrentLaunch) {
  thread.StartIeRegister();
  Run(1, {}, [&](std::uint32_t ms, int n) {
    if (ms == 100 && n == 10) thread.Stop();
  });
  EXPECT_EQ(runner.Commands().size(), 10u);
  EXPECT_EQ(views.at(0).ieDone, 1);
  EXPECT_EQ(views.at(0).done, 11);
  EXPECT_EQ(Pauses(), Join({Repeat(100, 10), {1000}}));
}

TEST_F(ScanAndFixThreadTest, TasksRequestedTogetherRunInTheFixedOrder) {
  UseVersion(3);
  thread.FixList = {L"0", L"1"};
  // Asked for in the opposite order; taken up as scan, fix, IE, WMP.
  thread.StartWmpRegister();
  thread.StartIeRegister();
  thread.StartFix();
  thread.StartScan();
  std::vector<std::pair<std::uint32_t, std::int32_t>> totalAtPause;
  Run(1, {}, [&](std::uint32_t ms, int) { totalAtPause.emplace_back(ms, thread.Total.load()); });
  std::vector<std::pair<std::uint32_t, std::int32_t>> expected;
  for (int i = 0; i < 50; ++i) expected.emplace_back(100, 50);
  for (int i = 0; i < 2; ++i) expected.emplace_back(300, 3);
  for (int i = 0; i < 114; ++i) expected.emplace_back(100, 114);
  for (int i = 0; i < 44; ++i) expected.emplace_back(200, 44);
  EXPECT_EQ(totalAtPause, expected);
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{101, 102}));
  EXPECT_EQ(runner.Commands().size(), 158u);
  const auto& view = views.at(0);
  EXPECT_EQ(view.scanDone + view.fixDone + view.ieDone + view.wmpDone, 4);
  EXPECT_EQ(Pauses().back(), 1000u);
}

TEST_F(ScanAndFixThreadTest, ARequestWhileIdleStartsAfterTheNextIdlePause) {
  UseVersion(3);
  Run(2, [&](int pass) {
    if (pass == 1) thread.StartScan();
  });
  EXPECT_TRUE(views.at(0).results.empty());
  EXPECT_EQ(views.at(1).scanDone, 1);
  EXPECT_EQ(views.at(1).results.size(), 50u);
  EXPECT_EQ(Pauses(), Join({{1000}, Repeat(100, 50), {1000}}));
}

TEST_F(ScanAndFixThreadTest, ClosingMidTaskEndsAfterTheStepAndReleasesTheLists) {
  UseVersion(3);
  thread.FixList = {L"1"};
  thread.StartScan();
  thread.StartIeRegister();
  // The window's close: stop, then terminate. The pass ends with its idle pause, and Execute
  // returns.
  Run(5, {}, [&](std::uint32_t ms, int n) {
    if (ms == 100 && n == 20) {
      thread.Stop();
      thread.Terminate();
    }
  });
  ASSERT_EQ(views.size(), 1u);
  // Items 0 to 19: the thirteen that have a check on Windows 7.
  EXPECT_EQ(actions.CheckIds(), std::vector<int>(kWindows7CheckIds.begin(), kWindows7CheckIds.begin() + 13));
  EXPECT_TRUE(runner.Commands().empty());  // the IE task is not taken up after a close
  EXPECT_EQ(Pauses(), Join({Repeat(100, 20), {1000}}));
  EXPECT_EQ(views[0].scanDone, 1);
  EXPECT_EQ(views[0].results.size(), 20u);
  EXPECT_EQ(thread.IeDone.load(), 0);
  EXPECT_TRUE(thread.Results.empty());
  EXPECT_TRUE(thread.FixList.empty());
  EXPECT_TRUE(thread.Descriptions.empty());
}

TEST_F(ScanAndFixThreadTest, TerminateAloneAlsoEndsTheTaskAfterItsStep) {
  thread.StartWmpRegister();
  Run(5, {}, [&](std::uint32_t ms, int n) {
    if (ms == 200 && n == 3) thread.Terminate();
  });
  EXPECT_EQ(runner.Commands().size(), 3u);
  EXPECT_EQ(thread.WmpDone.load(), 1);
  EXPECT_EQ(Pauses(), Join({Repeat(200, 3), {1000}}));
}

}  // namespace
}  // namespace corrivo
