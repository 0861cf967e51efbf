#include "sysaccess/memory/virtual_clock.h"

#include <thread>

namespace corrivo {

void VirtualClock::SleepMs(std::uint32_t ms) {
  std::function<void(std::uint32_t)> hook;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    sleeps_.push_back(ms);
    hook = hook_;
  }
  now_.fetch_add(ms, std::memory_order_acq_rel);
  if (hook) hook(ms);
  if (yield_.load(std::memory_order_relaxed)) std::this_thread::yield();
}

std::uint64_t VirtualClock::NowMs() { return now_.load(std::memory_order_acquire); }

std::vector<std::uint32_t> VirtualClock::Sleeps() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return sleeps_;
}

void VirtualClock::ClearSleeps() {
  std::lock_guard<std::mutex> lock(mutex_);
  sleeps_.clear();
}

void VirtualClock::OnSleep(std::function<void(std::uint32_t)> hook) {
  std::lock_guard<std::mutex> lock(mutex_);
  hook_ = std::move(hook);
}

}  // namespace corrivo
