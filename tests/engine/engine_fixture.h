// Runs the scan-and-fix thread's body on the test's own thread with virtual time: every pause
// returns at once, and the test acts "during" a pause through the clock's hook. Each idle pause
// (1000 ms) ends one pass of Execute; the fixture notes what the window would see there.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/scan_and_fix_thread.h"
#include "tests/engine/fake_scan_item_actions.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {

// What the window would see while the worker idles between two passes.
struct IdleView {
  std::vector<ScanResult> results;
  std::int32_t total = 0;
  std::int32_t done = 0;
  std::uint8_t scanDone = 0, fixDone = 0, ieDone = 0, wmpDone = 0, stopRequested = 0;
};

class EngineTest : public MemorySystemTest {
 protected:
  EngineTest() {
    thread.Init();
    actions.Observe(&thread);
  }

  void UseVersion(std::int32_t os, const std::wstring& ie = L"IE9") {
    thread.OsVersionCode = os;
    thread.IEVersionName = ie;
    thread.SetOfferedFlags();
  }

  // Runs Execute until its `passes`-th idle pause, then asks it to end. `atIdle` (pass number
  // from 1) and `onPause` (every other pause, with its length and how many of that length came
  // before it, from 1) act on the thread in between.
  void Run(int passes, std::function<void(int)> atIdle = {},
           std::function<void(std::uint32_t, int)> onPause = {}) {
    Run(thread, passes, std::move(atIdle), std::move(onPause));
  }
  void Run(TScanAndFixThread& target, int passes, std::function<void(int)> atIdle = {},
           std::function<void(std::uint32_t, int)> onPause = {}) {
    int idle = 0;
    int counts[1001] = {};
    views.clear();
    clock.OnSleep([&](std::uint32_t ms) {
      if (ms == TScanAndFixThread::kIdlePollMs) {
        ++idle;
        views.push_back(View(target));
        if (atIdle) atIdle(idle);
        if (idle >= passes) target.Terminate();
        return;
      }
      int n = ms <= 1000 ? ++counts[ms] : 0;
      if (onPause) onPause(ms, n);
    });
    target.Execute();
    clock.OnSleep(nullptr);
  }

  static IdleView View(const TScanAndFixThread& thread) {
    IdleView v;
    v.results = thread.Results;
    v.total = thread.Total.load();
    v.done = thread.Done.load();
    v.scanDone = thread.ScanDone.load();
    v.fixDone = thread.FixDone.load();
    v.ieDone = thread.IeDone.load();
    v.wmpDone = thread.WmpDone.load();
    v.stopRequested = thread.StopRequested.load();
    return v;
  }

  // The pauses made, the idle ones included.
  std::vector<std::uint32_t> Pauses() const { return clock.Sleeps(); }

  static std::vector<std::uint32_t> Repeat(std::uint32_t ms, std::size_t count) {
    return std::vector<std::uint32_t>(count, ms);
  }
  static std::vector<std::uint32_t> Join(std::initializer_list<std::vector<std::uint32_t>> parts) {
    std::vector<std::uint32_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  }

  FakeScanItemActions actions;
  TScanAndFixThread thread{actions};
  std::vector<IdleView> views;
};

}  // namespace corrivo::testing
