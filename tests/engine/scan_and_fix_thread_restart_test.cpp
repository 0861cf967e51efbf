// A new request made while a stopped task is still ending its step: the stop sticks to every
// task requested before it, other tasks wait their turn, and a request for the task still
// ending gets a fresh run of its own.
#include <gtest/gtest.h>

#include <vector>

#include "engine/scan_and_fix_thread.h"
#include "tests/engine/engine_fixture.h"

namespace corrivo {
namespace {

using corrivo::testing::EngineTest;

using RestartTest = EngineTest;

const std::vector<int> kWindows7CheckIds = {101, 102, 103, 104, 105, 106, 107, 108, 109, 110,
                                            203, 206, 210, 301, 302, 303, 304, 305, 307, 308,
                                            401, 402, 403, 404, 406, 407, 410, 502, 503, 508,
                                            509, 510};

TEST_F(RestartTest, ScanRequestedAgainAfterAStopGetsAFreshScan) {
  UseVersion(3);
  thread.StartScan();
  Run(2, {}, [&](std::uint32_t ms, int n) {
    // The page stops and the user scans again before the worker has looked at the stop.
    if (ms == 100 && n == 10) {
      thread.Stop();
      thread.StartScan();
    }
  });
  // The stopped run ended after its tenth item without answering the new request...
  EXPECT_EQ(views.at(0).scanDone, 0);
  // ...which a complete scan answered on the next pass.
  EXPECT_EQ(views.at(1).scanDone, 1);
  EXPECT_EQ(views.at(1).results.size(), 50u);
  EXPECT_EQ(views.at(1).done, 51);
  EXPECT_EQ(actions.CheckIds().size(), 10u + kWindows7CheckIds.size());
  EXPECT_EQ(Pauses(), Join({Repeat(100, 10), {1000}, Repeat(100, 50), {1000}}));
}

TEST_F(RestartTest, AStoppedFixDoesNotGoOnWhenAnotherTaskIsRequested) {
  UseVersion(3);
  thread.StartScan();
  int fixPauses = 0;
  Run(3,
      [&](int pass) {
        if (pass != 1) return;
        thread.FixList = {L"0", L"1", L"3", L"4", L"6"};
        actions.Clear();
        thread.StartFix();
      },
      [&](std::uint32_t ms, int) {
        if (ms == 300 && ++fixPauses == 2) {
          thread.Stop();
          thread.StartIeRegister();
        }
      });
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{101, 102}));
  EXPECT_EQ(views.at(1).fixDone, 1);
  // The registration waited for the fix run to end and then ran whole, in the same pass.
  EXPECT_EQ(views.at(1).ieDone, 1);
  EXPECT_EQ(runner.Commands().size(), 114u);
}

TEST_F(RestartTest, AStoppedScanEndsBeforeAFixRequestedMeanwhile) {
  UseVersion(3);
  thread.StartScan();
  Run(1, {}, [&](std::uint32_t ms, int n) {
    if (ms == 100 && n == 4) {
      thread.Stop();
      thread.FixList = {L"2"};
      thread.StartFix();
    }
  });
  EXPECT_EQ(actions.CheckIds().size(), 4u);
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{103}));
  EXPECT_EQ(views.at(0).scanDone, 1);
  EXPECT_EQ(views.at(0).fixDone, 1);
  EXPECT_EQ(Pauses(), Join({Repeat(100, 4), {300}, {1000}}));
}

TEST_F(RestartTest, AStopEndsATaskStillWaitingItsTurn) {
  // Fix asked for, stopped at once, then a scan asked for, all before the worker looked.
  UseVersion(3);
  thread.FixList = {L"0", L"1"};
  thread.StartFix();
  thread.Stop();
  thread.StartScan();
  Run(1);
  EXPECT_TRUE(actions.FixIds().empty());
  EXPECT_EQ(actions.CheckIds(), kWindows7CheckIds);
  EXPECT_EQ(views.at(0).fixDone, 1);
  EXPECT_EQ(views.at(0).scanDone, 1);
  EXPECT_EQ(Pauses(), Join({Repeat(100, 50), {1000}}));
}

TEST_F(RestartTest, AStopBeforeARequestDoesNotEndIt) {
  UseVersion(3);
  thread.Stop();
  thread.FixList = {L"0"};
  thread.StartScan();
  thread.StartFix();
  Run(1);
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{101}));
  EXPECT_EQ(views.at(0).results.size(), 50u);
}

TEST_F(RestartTest, AFixRunDoesNotSeeTheListRefilledForTheNextRun) {
  UseVersion(3);
  thread.StartScan();
  int fixPauses = 0;
  Run(3,
      [&](int pass) {
        if (pass != 1) return;
        thread.FixList = {L"0", L"1", L"3"};
        actions.Clear();
        thread.StartFix();
      },
      [&](std::uint32_t ms, int) {
        if (ms == 300 && ++fixPauses == 1) {
          thread.Stop();
          thread.FixList = {L"30", L"31"};
          thread.StartFix();
        }
      });
  // One repair of the stopped run, then the new run's two.
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{101, 401, 402}));
  EXPECT_EQ(views.at(1).fixDone, 0);
  EXPECT_EQ(views.at(2).fixDone, 1);
  EXPECT_EQ(views.at(2).total, 3);
}

}  // namespace
}  // namespace corrivo
