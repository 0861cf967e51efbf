// The worker thread interface, on every platform and under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>

#include "sysaccess/thread.h"

namespace corrivo::testing {
namespace {

TEST(WorkerThreadTest, RunsOnlyAfterResumeAndSeesTheTerminateRequest) {
  std::atomic<int> runs{0};
  std::atomic<WorkerThread*> self{nullptr};
  auto thread = WorkerThread::CreateSuspended([&] {
    runs.fetch_add(1);
    while (!self.load()->TerminateRequested()) {
    }
  });
  self = thread.get();
  EXPECT_EQ(runs.load(), 0) << "created suspended";
  thread->Resume();
  thread->RequestTerminate();
  thread->Join();
  EXPECT_EQ(runs.load(), 1);
}

}  // namespace
}  // namespace corrivo::testing
