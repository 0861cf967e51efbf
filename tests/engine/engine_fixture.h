// Doubles for the worker: item checks and repairs that are recorded instead of run, and the
// worker's body run on the test's own thread in virtual time, where every idle pause (1000 ms)
// ends one pass of Execute and the test acts "during" a pause through the clock's hook.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "engine/scan_and_fix_thread.h"
#include "engine/scan_item_actions.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {

struct ActionCall { bool fix; int id; RepairArgs args; };  // fix false: a check

// Checks of the IDs in `problems` (of every ID with `all`) find a problem. Called on the worker.
class FakeScanItemActions : public ScanItemActions {
 public:
  bool Check(int id, const RepairArgs& args) override { return Record({false, id, args}); }
  bool Fix(int id, const RepairArgs& args) override { return Record({true, id, args}); }
  // Every repair refuses to run with this reason (empty: none does).
  std::wstring LastRefusal() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return refusal_;
  }
  void SetRefusal(std::wstring why) {
    std::lock_guard<std::mutex> lock(mutex_);
    refusal_ = std::move(why);
  }
  void SetProblems(std::set<int> ids, bool all = false) {
    std::lock_guard<std::mutex> lock(mutex_);
    problems_ = std::move(ids), all_ = all;
  }
  std::vector<ActionCall> Calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }
  std::vector<int> Ids(bool fix) const {
    std::vector<int> ids;
    for (const ActionCall& c : Calls())
      if (c.fix == fix) ids.push_back(c.id);
    return ids;
  }

 private:
  bool Record(const ActionCall& call) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(call);
    return call.fix || all_ || problems_.count(call.id) != 0;
  }
  mutable std::mutex mutex_;
  std::wstring refusal_;
  std::vector<ActionCall> calls_;
  std::set<int> problems_;
  bool all_ = false;
};

// What the window would see while the worker idles between two passes.
struct IdleView {
  std::vector<ScanResult> results;
  std::uint8_t scanDone, fixDone, ieDone, wmpDone;
};

class EngineTest : public MemorySystemTest {
 protected:
  EngineTest() {
    thread.Init();
    thread.Windows = WindowsVersion::Seven;
    thread.SetOfferedFlags();
  }

  // Runs Execute until its `passes`-th idle pause, then asks it to end. `atIdle` gets the pass
  // number (from 1); `onPause` every other pause with its length and how many pauses of that
  // length came before it (from 1). Execute runs once per worker: termination is for good.
  // `other` runs a worker of the test's own instead.
  void Run(int passes, std::function<void(int)> atIdle = {}, std::function<void(std::uint32_t, int)> onPause = {},
           TScanAndFixThread* other = nullptr) {
    TScanAndFixThread& target = other ? *other : thread;
    std::map<std::uint32_t, int> counts;
    views.clear();
    clock.OnSleep([&](std::uint32_t ms) {
      if (ms != TScanAndFixThread::kIdlePollMs) {
        if (onPause) onPause(ms, ++counts[ms]);
        return;
      }
      views.push_back({target.Results, target.ScanDone.load(), target.FixDone.load(),
                       target.IeDone.load(), target.WmpDone.load()});
      if (atIdle) atIdle(static_cast<int>(views.size()));
      if (static_cast<int>(views.size()) >= passes) target.Terminate();
    });
    target.Execute();
    clock.OnSleep(nullptr);
  }

  FakeScanItemActions actions;
  TScanAndFixThread thread{system, actions};
  std::vector<IdleView> views;
};

}  // namespace corrivo::testing
