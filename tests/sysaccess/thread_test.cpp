// The worker thread interface and the virtual clock.
#include <gtest/gtest.h>

#include <atomic>

#include "sysaccess/clock.h"
#include "sysaccess/memory/virtual_clock.h"
#include "sysaccess/thread.h"

namespace corrivo::testing {
namespace {

TEST(WorkerThreadTest, RunsOnlyAfterResumeAndSeesTheTerminateRequest) {
  std::atomic<int> runs{0};
  std::atomic<bool> sawTerminate{false};
  WorkerThread* self = nullptr;
  auto thread = WorkerThread::CreateSuspended([&] {
    runs.fetch_add(1);
    while (!self->TerminateRequested()) {
    }
    sawTerminate = true;
  });
  self = thread.get();
  EXPECT_EQ(runs.load(), 0) << "created suspended";
  EXPECT_FALSE(thread->TerminateRequested());
  thread->Resume();
  thread->RequestTerminate();
  thread->Join();
  EXPECT_EQ(runs.load(), 1);
  EXPECT_TRUE(sawTerminate.load());
}

TEST(VirtualClockTest, SleepsMoveTimeAndAreRecorded) {
  VirtualClock clock;
  ScopedClock use(clock);
  std::vector<std::uint32_t> seen;
  clock.OnSleep([&](std::uint32_t ms) { seen.push_back(ms); });
  SleepMs(100);
  SleepMs(300);
  EXPECT_EQ(clock.NowMs(), 400u);
  EXPECT_EQ(clock.Sleeps(), (std::vector<std::uint32_t>{100, 300}));
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{100, 300}));
  clock.ClearSleeps();
  EXPECT_TRUE(clock.Sleeps().empty());
}

}  // namespace
}  // namespace corrivo::testing
