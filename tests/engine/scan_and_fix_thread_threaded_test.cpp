// The worker on its own thread (std::thread on Linux, CreateThread on Windows) with a page-like
// poller on another, as the window drives it: request, poll the flags and counters, read the
// results once the flag says the worker is done. Built for ThreadSanitizer as well: a data race
// on the shared fields fails the run there.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "engine/scan_and_fix_thread.h"
#include "tests/engine/fake_scan_item_actions.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using corrivo::testing::FakeScanItemActions;
using corrivo::testing::MemorySystemTest;

// Waits in real time (the worker's pauses are virtual) until `done` answers true.
bool WaitUntil(const std::function<bool()>& done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::yield();
  }
  return true;
}

// Reads what the pages read, all the time, from a thread of its own, and notes any value a
// page could not cope with.
class Poller {
 public:
  explicit Poller(const TScanAndFixThread& thread) : thread_(thread), worker_([this] { Loop(); }) {}
  ~Poller() { Finish(); }

  void Finish() {
    stop_.store(true);
    if (worker_.joinable()) worker_.join();
  }
  long Reads() const { return reads_.load(); }
  long Anomalies() const { return anomalies_.load(); }

 private:
  void Loop() {
    while (!stop_.load()) {
      const std::uint8_t flags[] = {thread_.ScanDone.load(), thread_.FixDone.load(),
                                    thread_.IeDone.load(), thread_.WmpDone.load(),
                                    thread_.StopRequested.load()};
      const std::int32_t total = thread_.Total.load();
      const std::int32_t done = thread_.Done.load();
      bool ok = total > 0 && done >= 1;
      for (std::uint8_t flag : flags) ok = ok && flag <= 1;
      if (ok) {
        // The pages' position formulas, clamped as the registration pages clamp.
        const long scanPosition = 99L * done / total;
        const long registerPosition = std::min(103L * done / total, 103L);
        ok = scanPosition >= 0 && registerPosition >= 0;
      }
      if (!ok) anomalies_.fetch_add(1);
      reads_.fetch_add(1);
      std::this_thread::yield();
    }
  }

  const TScanAndFixThread& thread_;
  std::atomic<bool> stop_{false};
  std::atomic<long> reads_{0};
  std::atomic<long> anomalies_{0};
  std::thread worker_;
};

class ThreadedEngineTest : public MemorySystemTest {
 protected:
  ThreadedEngineTest() {
    clock.SetYield(true);
    thread->Init();
    thread->OsVersionCode = 3;
    thread->IEVersionName = L"IE9";
    thread->SetOfferedFlags();
    actions.Observe(thread.get());
  }

  FakeScanItemActions actions;
  std::unique_ptr<TScanAndFixThread> thread = std::make_unique<TScanAndFixThread>(actions);
};

TEST_F(ThreadedEngineTest, PageLikeSessionScanFixAndRegistrations) {
  TScanAndFixThread& t = *thread;
  actions.SetProblems({101, 104, 401});
  Poller poller(t);
  t.Resume();

  t.StartScan();
  ASSERT_TRUE(WaitUntil([&] { return t.ScanDone.load(std::memory_order_acquire) == 1; }));
  ASSERT_EQ(t.Results.size(), 50u);
  std::vector<std::wstring> toFix;
  for (const ScanResult& r : t.Results) {
    if (r.Problem && r.Offered) toFix.push_back(std::to_wstring(r.Index));
  }
  EXPECT_EQ(toFix, (std::vector<std::wstring>{L"0", L"3", L"30"}));
  EXPECT_EQ(t.Done.load(), 51);

  t.FixList = toFix;
  t.StartFix();
  ASSERT_TRUE(WaitUntil([&] { return t.FixDone.load(std::memory_order_acquire) == 1; }));
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{101, 104, 401}));
  EXPECT_EQ(t.Done.load(), 4);

  t.StartIeRegister();
  t.StartWmpRegister();
  ASSERT_TRUE(WaitUntil([&] { return t.IeDone.load() == 1 && t.WmpDone.load() == 1; }));
  EXPECT_EQ(runner.Commands().size(), 158u);
  EXPECT_EQ(runner.Commands().front(), L"/c regsvr32 comcat.dll /s");
  EXPECT_EQ(runner.Commands().back(), L"/c regsvr32 msmpeg2vdec.dll /s");

  t.Stop();
  t.Terminate();
  t.WaitFor();
  poller.Finish();
  EXPECT_GT(poller.Reads(), 0);
  EXPECT_EQ(poller.Anomalies(), 0);
  EXPECT_TRUE(t.Results.empty());
  EXPECT_TRUE(t.Descriptions.empty());
}

TEST_F(ThreadedEngineTest, ScanStoppedAndRequestedAgainEndsWithACompleteScan) {
  TScanAndFixThread& t = *thread;
  Poller poller(t);
  t.Resume();
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    const std::size_t before = actions.CheckIds().size();
    t.StartScan();
    ASSERT_TRUE(WaitUntil([&] { return actions.CheckIds().size() >= before + 3 || t.ScanDone.load() == 1; }));
    // The page's Stop, then the user's next Scan at once, while the worker may be mid-step.
    t.Stop();
    t.StartScan();
    ASSERT_TRUE(WaitUntil([&] { return t.ScanDone.load(std::memory_order_acquire) == 1; }));
    ASSERT_EQ(t.Results.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(t.Results[i].Index, i);
  }
  poller.Finish();
  EXPECT_EQ(poller.Anomalies(), 0);
}

TEST_F(ThreadedEngineTest, StoppedFixIsFollowedByTheRequestedScan) {
  TScanAndFixThread& t = *thread;
  Poller poller(t);
  t.Resume();
  t.StartScan();
  ASSERT_TRUE(WaitUntil([&] { return t.ScanDone.load(std::memory_order_acquire) == 1; }));
  std::vector<std::wstring> all;
  for (int i = 0; i < 50; ++i) all.push_back(std::to_wstring(i));
  t.FixList = all;
  // The worker stays inside the second repair until the page has stopped and asked for a scan.
  std::atomic<bool> inSecondRepair{false};
  actions.OnCall([&](const corrivo::testing::ActionCall& call) {
    if (!call.fix || call.id != 102) return;
    inSecondRepair.store(true);
    WaitUntil([&] { return t.ScanDone.load() == 0; });
  });
  t.StartFix();
  ASSERT_TRUE(WaitUntil([&] { return inSecondRepair.load(); }));
  t.Stop();
  t.StartScan();
  ASSERT_TRUE(WaitUntil([&] { return t.ScanDone.load(std::memory_order_acquire) == 1; }));
  EXPECT_EQ(t.FixDone.load(), 1);
  EXPECT_EQ(actions.FixIds(), (std::vector<int>{101, 102}));
  EXPECT_EQ(t.Results.size(), 50u);
  poller.Finish();
  EXPECT_EQ(poller.Anomalies(), 0);
}

TEST_F(ThreadedEngineTest, ClosingDuringARegistrationEndsTheWorker) {
  TScanAndFixThread& t = *thread;
  Poller poller(t);
  // The worker stays in the pause after the tenth launch until the window has closed.
  std::atomic<int> pauses{0};
  clock.OnSleep([&](std::uint32_t ms) {
    if (ms == 100 && pauses.fetch_add(1) + 1 == 10) WaitUntil([&] { return t.Terminated(); });
  });
  t.Resume();
  t.StartIeRegister();
  ASSERT_TRUE(WaitUntil([&] { return pauses.load() >= 10; }));
  t.Stop();
  t.Terminate();
  t.WaitFor();
  clock.OnSleep(nullptr);
  EXPECT_EQ(runner.Commands().size(), 10u);
  EXPECT_EQ(t.IeDone.load(), 1);
  EXPECT_TRUE(t.FixList.empty());
  poller.Finish();
  EXPECT_EQ(poller.Anomalies(), 0);
}

TEST_F(ThreadedEngineTest, DestroyingTheThreadMidTaskWaitsForTheStepAndReturns) {
  // The worker stays in the pause after the third launch until the destructor stops it.
  TScanAndFixThread* t = thread.get();
  std::atomic<int> pauses{0};
  clock.OnSleep([&](std::uint32_t ms) {
    if (ms == 200 && pauses.fetch_add(1) + 1 == 3) WaitUntil([&] { return t->StopRequested.load() == 1; });
  });
  thread->Resume();
  thread->StartWmpRegister();
  ASSERT_TRUE(WaitUntil([&] { return pauses.load() >= 3; }));
  thread.reset();
  clock.OnSleep(nullptr);
  EXPECT_EQ(runner.Commands().size(), 3u);
}

}  // namespace
}  // namespace corrivo
