// The worker on its own thread, driven from another as the window drives it. Its pauses are
// virtual, so ThreadSanitizer sees many hand-overs in little time: a list or result that
// passes between the threads outside the finished flags and the hand-over guard fails there.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "tests/engine/engine_fixture.h"

namespace corrivo::testing {
namespace {

// Waits in real time for what the worker does in virtual time.
template <typename Done>
bool WaitUntil(Done done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::yield();
  }
  return true;
}

// The worker runs on its own thread here, not on the test's.
class ThreadedEngineTest : public EngineTest {
 protected:
  ThreadedEngineTest() {
    clock.SetYield(true);
    thread.Resume();
  }
  void WaitFor(const std::atomic<std::uint8_t>& finished) {
    ASSERT_TRUE(WaitUntil([&] { return finished.load(std::memory_order_acquire) == 1; }));
  }
};

// Stop and Fix again at once, over and over; the last request, never stopped, gets a whole run.
TEST_F(ThreadedEngineTest, FixStoppedAndRestartedFromAnotherThread) {
  actions.SetProblems({ScanItemFixId(3)});
  thread.StartScan();
  WaitFor(thread.ScanDone);
  std::vector<std::wstring> listed;  // read as the page reads them
  for (const ScanResult& r : thread.Results)
    if (r.Problem && r.Offered) listed.push_back(std::to_wstring(r.Index));
  ASSERT_EQ(listed, std::vector<std::wstring>{L"3"});
  std::vector<std::wstring> all;
  for (int i = 0; i < kScanItemCount; ++i) all.push_back(std::to_wstring(i));
  std::thread page([&] {
    for (int round = 0; round < 400; ++round) {
      thread.StartFix(std::vector<std::wstring>(all.begin() + round % 7, all.end()));
      thread.Stop();
      // Varied pauses that touch nothing of the worker's, so that its takes fall between clicks.
      for (int spin = round % 64; spin > 0; --spin) std::this_thread::yield();
    }
    thread.StartFix({L"3", L"30"});
  });
  page.join();
  WaitFor(thread.FixDone);
  const std::vector<int> fixed = actions.Ids(true);
  ASSERT_GE(fixed.size(), 2u);
  EXPECT_EQ(std::vector<int>(fixed.end() - 2, fixed.end()), (std::vector<int>{ScanItemFixId(3), ScanItemFixId(30)}));
  EXPECT_EQ(thread.Done.load(), 3);
}

TEST_F(ThreadedEngineTest, DestroyedMidTaskTheWorkerEndsItsStepFirst) {
  auto worker = std::make_unique<TScanAndFixThread>(system, actions);
  TScanAndFixThread* w = worker.get();  // reset() clears the pointer before the destructor runs
  w->Init();
  // It stays in the pause after its third launch until the destructor's stop.
  std::atomic<int> pauses{0};
  clock.OnSleep([&](std::uint32_t ms) {
    if (ms == TScanAndFixThread::kWmpPauseMs && ++pauses == 3)
      WaitUntil([&] { return w->StopRequested.load() == 1; });
  });
  w->Resume();
  w->StartWmpRegister();
  ASSERT_TRUE(WaitUntil([&] { return pauses.load() >= 3; }));
  worker.reset();
  clock.OnSleep(nullptr);
  EXPECT_EQ(runner.Commands().size(), 3u);
}

}  // namespace
}  // namespace corrivo::testing
