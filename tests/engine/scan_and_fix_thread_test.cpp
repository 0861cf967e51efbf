// The worker's body on the test's thread in virtual time.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/engine/engine_fixture.h"

namespace corrivo::testing {
namespace {

using T = TScanAndFixThread;
using ScanAndFixThreadTest = EngineTest;

TEST_F(ScanAndFixThreadTest, TasksAskedForTogetherRunInTheFixedOrderAtTheirPace) {
  thread.Windows = WindowsVersion::Eight;
  thread.IEVersionName = L"IE10";
  EXPECT_EQ(thread.ScanDone + thread.FixDone + thread.IeDone + thread.WmpDone, 4) << "nothing runs before a request";
  // Asked for in the opposite order; taken up as scan, fix, IE, WMP in one pass.
  thread.StartWmpRegister();
  thread.StartIeRegister();
  thread.StartFix({L"4", L"0"});
  thread.StartScan();
  std::vector<std::tuple<std::uint32_t, std::int32_t, std::int32_t>> progress, expected;
  Run(1, {}, [&](std::uint32_t ms, int) { progress.emplace_back(ms, thread.Total.load(), thread.Done.load()); });
  const int ie = static_cast<int>(thread.IeCommands.size()), wmp = static_cast<int>(thread.WmpCommands.size());
  for (auto [ms, steps, total] : {std::tuple{T::kScanPauseMs, kScanItemCount, kScanItemCount},
                                  {T::kFixPauseMs, 2, 3}, {T::kIePauseMs, ie, ie}, {T::kWmpPauseMs, wmp, wmp}})
    for (int step = 0; step < steps; ++step) expected.emplace_back(ms, total, step + 2);
  EXPECT_EQ(progress, expected) << "Total per task, Done one up after each step";
  EXPECT_EQ(clock.Sleeps().back(), T::kIdlePollMs);
  EXPECT_EQ(views.at(0).scanDone + views.at(0).fixDone + views.at(0).ieDone + views.at(0).wmpDone, 4);

  std::vector<int> checked;  // only where the item's check runs on this version
  for (int i = 0; i < kScanItemCount; ++i)
    if (int id = ScanItemCheckId(i, WindowsVersion::Eight)) checked.push_back(id);
  EXPECT_EQ(actions.Ids(false), checked);
  EXPECT_EQ(actions.Ids(true), (std::vector<int>{ScanItemFixId(4), ScanItemFixId(0)})) << "in list order";
  for (const ActionCall& call : actions.Calls())
    EXPECT_TRUE(call.args.windows == WindowsVersion::Eight && call.args.ieVersionName == L"IE10");
}

// Also when a later request has cleared the stop flag; the records made before the stop stay.
TEST_F(ScanAndFixThreadTest, StopEndsTheRunningAndTheWaitingTasks) {
  thread.StartScan();
  thread.StartIeRegister();
  Run(1, {}, [&](std::uint32_t ms, int n) {
    if (ms == T::kScanPauseMs && n == 4) thread.Stop(), thread.StartFix({L"2", L"5"});
  });
  EXPECT_EQ(views.at(0).results.size(), 4u);
  EXPECT_EQ(actions.Ids(true), (std::vector<int>{ScanItemFixId(2)})) << "position 5 has no record";
  std::vector<std::uint32_t> pauses(4, T::kScanPauseMs);
  pauses.insert(pauses.end(), {T::kFixPauseMs, T::kFixPauseMs, T::kIdlePollMs});
  EXPECT_EQ(clock.Sleeps(), pauses);
  EXPECT_EQ(views.at(0).ieDone + views.at(0).scanDone, 2);
}

}  // namespace
}  // namespace corrivo::testing
