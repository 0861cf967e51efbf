// Time as the program's pauses see it. The product sleeps for real; tests pass a virtual clock
// so that a scan's pauses cost nothing.
#pragma once

#include <cstdint>

namespace corrivo {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void SleepMs(std::uint32_t ms) = 0;
  // Milliseconds since an arbitrary start; only differences mean anything.
  virtual std::uint64_t NowMs() = 0;
};

}  // namespace corrivo
