// The one worker thread of the program, behind an interface that needs neither std::thread
// nor std::mutex (the XP build's thread model has neither).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace corrivo {

class WorkerThread {
 public:
  virtual ~WorkerThread() = default;

  // Creates a thread that runs `body` once it is resumed. The thread does not free itself:
  // the owner keeps the object, and destroying it never waits for the body to end.
  static std::unique_ptr<WorkerThread> CreateSuspended(std::function<void()> body);

  virtual void Resume() = 0;
  // Blocks until the body has returned (for tests and orderly shutdown only).
  virtual void Join() = 0;
  // Waits at most `ms` for the body to return; true when it has. Closing uses it so that the
  // process never ends in the middle of a repair's step, nor waits for a hung one.
  virtual bool JoinFor(std::uint32_t ms) = 0;

  // The termination request the body polls.
  void RequestTerminate() { terminate_.store(true, std::memory_order_release); }
  bool TerminateRequested() const { return terminate_.load(std::memory_order_acquire); }

 private:
  std::atomic<bool> terminate_{false};
};

}  // namespace corrivo
