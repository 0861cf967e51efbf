// A stand-in for the catalogue's checks and repairs: records every call with its arguments
// and the progress counters the worker had published at that moment, and answers the checks
// from a chosen set of problem IDs.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "engine/scan_and_fix_thread.h"
#include "engine/scan_item_actions.h"

namespace corrivo::testing {

struct ActionCall {
  bool fix = false;  // false: a check
  int id = 0;
  std::int32_t osVersionCode = 0;
  std::wstring ieVersionName;
  std::int32_t total = 0;
  std::int32_t done = 0;
};

class FakeScanItemActions : public ScanItemActions {
 public:
  bool Check(int id, const FixArgs& args) override { return Record(false, id, args); }
  bool Fix(int id, const FixArgs& args) override { return Record(true, id, args); }

  // Checks of these IDs report a problem.
  void SetProblems(std::set<int> ids) {
    std::lock_guard<std::mutex> lock(mutex_);
    problems_ = std::move(ids);
    allProblems_ = false;
  }
  // Every check reports a problem.
  void SetAllProblems() {
    std::lock_guard<std::mutex> lock(mutex_);
    allProblems_ = true;
  }
  void SetFixResult(bool result) {
    std::lock_guard<std::mutex> lock(mutex_);
    fixResult_ = result;
  }
  // Runs on the calling (worker) thread after each call has been noted; tests use it to hold
  // the worker inside a step.
  void OnCall(std::function<void(const ActionCall&)> hook) {
    std::lock_guard<std::mutex> lock(mutex_);
    hook_ = std::move(hook);
  }
  // The thread whose Total and Done are noted with each call.
  void Observe(const TScanAndFixThread* thread) { observed_.store(thread); }

  std::vector<ActionCall> Calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }
  std::vector<int> CheckIds() const { return Ids(false); }
  std::vector<int> FixIds() const { return Ids(true); }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
  }

 private:
  bool Record(bool fix, int id, const FixArgs& args) {
    ActionCall call;
    call.fix = fix;
    call.id = id;
    call.osVersionCode = args.osVersionCode;
    call.ieVersionName = args.ieVersionName;
    if (const TScanAndFixThread* thread = observed_.load()) {
      call.total = thread->Total.load();
      call.done = thread->Done.load();
    }
    bool answer = false;
    std::function<void(const ActionCall&)> hook;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(call);
      answer = fix ? fixResult_ : (allProblems_ || problems_.count(id) != 0);
      hook = hook_;
    }
    if (hook) hook(call);
    return answer;
  }
  std::vector<int> Ids(bool fix) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<int> ids;
    for (const ActionCall& call : calls_) {
      if (call.fix == fix) ids.push_back(call.id);
    }
    return ids;
  }

  mutable std::mutex mutex_;
  std::vector<ActionCall> calls_;
  std::set<int> problems_;
  bool allProblems_ = false;
  bool fixResult_ = true;
  std::function<void(const ActionCall&)> hook_;
  std::atomic<const TScanAndFixThread*> observed_{nullptr};
};

}  // namespace corrivo::testing
