// Virtual time: SleepMs returns at once and moves the clock on, and every pause is recorded,
// so tests see exactly which waits a task made without spending them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "sysaccess/clock.h"

namespace corrivo {

class VirtualClock : public Clock {
 public:
  void SleepMs(std::uint32_t ms) override;
  std::uint64_t NowMs() override;

  std::vector<std::uint32_t> Sleeps() const;
  void ClearSleeps();
  // Runs on every sleep, on the sleeping thread, after the clock moved on. Tests use it to
  // act "during" a pause (request a stop, count polls).
  void OnSleep(std::function<void(std::uint32_t)> hook);
  // When set, a sleeping thread also yields the processor, so that a poller on another
  // thread gets to run between the steps of a task.
  void SetYield(bool yield) { yield_ = yield; }

 private:
  mutable std::mutex mutex_;
  std::atomic<std::uint64_t> now_{0};
  std::vector<std::uint32_t> sleeps_;
  std::function<void(std::uint32_t)> hook_;
  std::atomic<bool> yield_{false};
};

}  // namespace corrivo
