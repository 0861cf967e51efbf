// The one worker thread behind the General Fix, Fix Internet Explorer and Fix Media Player
// pages. It scans the 50 scan items, repairs the items the window put on the fix list, and
// launches the two component registration lists. It never touches a window: the pages ask
// for a task by calling Start*, then poll the finished flag and the Done/Total counters every
// 100 ms from a loop of their own that keeps the window responsive.
//
// How the window uses it:
//   creation     TScanAndFixThread t(system);  t.Init();  t.Windows = ...;
//                t.IEVersionName = ...;  t.SetOfferedFlags();  t.Resume();
//   scan         t.StartScan(); wait until t.ScanDone == 1; then read t.Results.
//   fix          t.StartFix(list), the ticked items' indexes as decimal text;
//                wait until t.FixDone == 1.
//   registration t.StartIeRegister() / t.StartWmpRegister(); wait until IeDone / WmpDone == 1.
//   stop         t.Stop(); the page leaves its wait loop at once, the worker ends the task
//                after its current step and sets the task's finished flag.
//   closing      t.Stop(); t.Terminate(); t.WaitForEnd(bound): the current step ends first.
// A page waits for "finished flag == 1"; every flag is 1 while its task is neither requested
// nor running, 0 from the Start* call until the task has ended.
//
// Sharing: the flags and counters are atomics. The fix list travels inside the request: StartFix
// stores it under the hand-over guard and the worker takes it under the same guard together
// with the request it answers, so a click that comes while a stopped run is still ending (or
// a fresh run is just starting) never writes a list the worker is reading. The results pass
// through the scan's finished flag: the worker fills Results before it sets ScanDone (release)
// and the window reads Results after it has seen ScanDone == 1 (acquire). Results must not be
// read while a scan is requested or running.
//
// Progress: at the start of a task the worker resets Done before it publishes the task's
// Total, then advances Done once per step. A page therefore reads Total first and Done after
// it: having seen a task's Total it sees that task's Done (or a later one), never the previous
// task's final count against the new Total.
//
// A start request while a stopped task still finishes its step. A stop returns control to the
// page at once, so the user may start a task again before the worker has ended the stopped
// one. Start* never waits for the worker (the page must stay responsive); instead:
//   - a stop ends every task requested before it: the running one after its current step,
//     one still waiting its turn before its first step; this holds even when a Start* clears
//     StopRequested before the worker looks again, so a stopped fix run never goes on
//     repairing the rest of its list;
//   - a request for another task waits its turn: the worker takes tasks up in the fixed order
//     scan, fix, IE, WMP, within a second of finishing the current one;
//   - a request for the task that is still ending is not answered by that stopped run: its
//     finished flag stays 0 and the worker runs the task afresh, so a page never reads the
//     partial results of a stopped scan as if they were a new scan.
// Every request is therefore answered by one complete (or newly stopped) run of its task,
// and no page waits longer than the current step plus one second before its task starts.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "engine/scan_item_actions.h"
#include "engine/scan_items.h"
#include "sysaccess/system.h"
#include "sysaccess/thread.h"

namespace corrivo {

// One record per scanned item.
struct ScanResult {
  std::wstring Description;    // the item's description
  std::int32_t Index = 0;      // scan item index, 0 to 49
  std::uint8_t Problem = 0;    // non-zero: the check found the problem
  std::uint8_t Offered = 0;    // the item's Offered byte at the time of the scan
};

class TScanAndFixThread {
 public:
  // Pauses after each step of a task and between two looks for work while idle.
  static constexpr std::uint32_t kIdlePollMs = 1000;
  static constexpr std::uint32_t kScanPauseMs = 100;
  static constexpr std::uint32_t kFixPauseMs = 300;
  static constexpr std::uint32_t kIePauseMs = 100;
  static constexpr std::uint32_t kWmpPauseMs = 200;

  // Creates the worker suspended; it runs Execute once resumed. Without `actions` the items'
  // checks and repairs are the catalogue's, on `system`.
  explicit TScanAndFixThread(System& system);
  TScanAndFixThread(System& system, ScanItemActions& actions);
  // Stops the task, asks the worker to end and waits for it (its current step and at most one
  // idle pause). The window keeps the object for the life of the process and never destroys
  // it; tests rely on the wait to end cleanly.
  ~TScanAndFixThread();
  TScanAndFixThread(const TScanAndFixThread&) = delete;
  TScanAndFixThread& operator=(const TScanAndFixThread&) = delete;

  void Init();
  void SetOfferedFlags();
  // Lets the worker run. It starts with the first request (or at once when one is waiting):
  // until then it would only poll, and under Wine a thread that has run costs the process a
  // megabyte of memory.
  void Resume();
  // Asks Execute to end: it leaves after the task step in progress.
  void Terminate();
  bool Terminated() const;
  // Blocks until Execute has returned (tests and orderly shutdown only).
  void WaitFor();
  // Waits at most `ms` for Execute to return after Terminate; true when it has. Closing uses it
  // so that the process never ends between two writes of one repair.
  bool WaitForEnd(std::uint32_t ms);

  void StartScan();
  // `list`: the items to repair, as positions in Results in decimal text.
  void StartFix(std::vector<std::wstring> list);
  void StartIeRegister();
  void StartWmpRegister();
  void Stop();

  bool CheckItem(int index);
  void FixItem(int index);
  void ClearResults();

  // The thread body. Public so that tests can run it on their own thread.
  void Execute();

  // --- Fields shared with the window.
  std::array<std::uint8_t, kScanItemCount> Offered{};  // set before Resume, read by the worker
  std::atomic<std::uint8_t> ScanDone{1};
  std::atomic<std::uint8_t> FixDone{1};
  std::atomic<std::uint8_t> IeDone{1};
  std::atomic<std::uint8_t> WmpDone{1};
  std::vector<std::wstring> Descriptions;
  std::vector<std::wstring> IeCommands;   // each entry with its leading blank
  std::vector<std::wstring> WmpCommands;  // each entry with its leading blank
  std::atomic<std::int32_t> Total{100};
  std::atomic<std::int32_t> Done{1};
  std::atomic<std::uint8_t> StopRequested{0};
  std::vector<ScanResult> Results;     // read by the window only while ScanDone is 1
  // Why a repair of the last fix run did not run at all (the first such reason; empty when
  // none); written by the worker, read by the window only while FixDone is 1.
  std::wstring FixRefusal;
  WindowsVersion Windows = WindowsVersion::XP;  // set before Resume
  std::wstring IEVersionName = L"IE8"; // set before Resume

 private:
  enum Task { kScan = 0, kFix = 1, kIe = 2, kWmp = 3, kTaskCount = 4 };
  // What a run of a task answers: the latest request when it was taken up, and how many stops
  // had been made when that request came. A later stop ends the run.
  struct Ticket {
    std::uint32_t request;
    std::uint32_t stops;
  };

  std::atomic<std::uint8_t>& FinishedFlag(Task task);
  void Start(Task task);
  void StartLocked(Task task);  // with handoff_ held
  void RunWorkerIfResumed();
  void RunTask(Task task);
  bool StopNow(const Ticket& ticket) const;
  void ScanTask(const Ticket& ticket);
  void FixTask(const Ticket& ticket, const std::vector<std::wstring>& entries);
  void RegisterTask(const Ticket& ticket, const std::vector<std::wstring>& commands,
                    std::uint32_t pauseMs);
  void FinishTask(Task task, const Ticket& ticket);
  RepairArgs Args() const;

 public:
  System& system() const { return system_; }

 private:

  System& system_;
  std::unique_ptr<ScanItemActions> ownActions_;
  ScanItemActions& actions_;
  // Start* and the end of a run change a finished flag together with the request count, and
  // the fix list passes with its request; this tiny spin lock keeps them in step (held for a
  // few stores and a vector swap only, never across a step).
  std::atomic_flag handoff_{};
  std::array<std::atomic<std::uint32_t>, kTaskCount> requests_{};
  std::array<std::atomic<std::uint32_t>, kTaskCount> requestStops_{};
  std::atomic<std::uint32_t> stops_{0};
  std::vector<std::wstring> fixList_;  // the latest fix request's list; under handoff_ only
  std::unique_ptr<WorkerThread> worker_;
  std::atomic<bool> resumed_{false};  // Resume has been called
};

}  // namespace corrivo
